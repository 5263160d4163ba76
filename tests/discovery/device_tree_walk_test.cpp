#include <string>
#include <vector>

#include "platform/last_error.h"
#include "tests/discovery/discovery_test_support.h"

namespace {

using Names = std::vector<std::string>;
const std::string kInstance = std::string(kNtTreeRoot) + "\\ACPI\\PNP0501\\1";
const std::string kSecondInstance = std::string(kNtTreeRoot) + "\\ACPI\\PNP0501\\2";

using Value = std::pair<std::string, std::vector<BYTE>>;  // name, data
Value Class(const std::vector<BYTE>& data) {
    return {"CLASS", data};
}
Value Guid(const std::vector<BYTE>& data) {
    return {"CLASSGUID", data};
}
Value PortName(const std::vector<BYTE>& data) {
    return {"PORTNAME", data};
}
const Value kPorts = Class(Text("Ports"));
const Value kCom1 = PortName(Text("COM1"));
const std::string kLong128 = "COM" + std::string(125, '8');
const std::string kLong300 = "COM" + std::string(297, '3');

// Each case shapes the first instance; a plain port COM2 follows it to show the walk goes on.
struct InstanceCase {
    const char* title;
    std::vector<Value> values;
    std::vector<Value> parameterValues;  // in its DEVICE PARAMETERS subkey
    Names expected;
    bool guidRead;

    friend void PrintTo(const InstanceCase& c, std::ostream* os) { *os << c.title; }
};

// clang-format off
const InstanceCase kInstanceCases[] = {
    {"ClassPorts", {kPorts, kCom1}, {}, {"COM1", "COM2"}, false},
    {"ClassUpper", {{"Class", Text("PORTS")}, kCom1}, {}, {"COM1", "COM2"}, false},
    {"ClassMixed", {Class(Text("pOrTs")), Guid(Text("{x}")), kCom1}, {}, {"COM1", "COM2"}, false},
    {"ClassNoNul", {Class(Bytes("Ports")), kCom1}, {}, {"COM1", "COM2"}, false},
    {"GuidLower", {Guid(Text("{4d36e978-e325-11ce-bfc1-08002be10318}")), kCom1}, {}, {"COM1", "COM2"}, true},
    {"GuidNoNul", {Guid(Bytes(kPortsGuid)), kCom1}, {}, {"COM1", "COM2"}, true},
    {"LongClassGuidDecides", {Class(Text("PortsX")), Guid(Text(kPortsGuid)), kCom1}, {}, {"COM1", "COM2"}, true},
    {"LongClassNoGuid", {Class(Text("PortsAndMore")), kCom1}, {}, {"COM2"}, true},
    {"ClassPrefixOnly", {Class(Text("Port")), kCom1}, {}, {"COM2"}, true},
    {"ClassCutAtNul", {Class(Bytes(std::string("Po\0ts", 5))), kCom1}, {}, {"COM2"}, true},
    {"OtherClassAndGuid", {Class(Text("Modem")), Guid(Text("{4D36E96D-E325-11CE-BFC1-08002BE10318}")), kCom1}, {}, {"COM2"}, true},
    // The fixed buffers are not grown, so padding past them hides the class.
    {"ClassPadded", {Class(Text(std::string("Ports\0", 6))), kCom1}, {}, {"COM2"}, true},
    {"GuidPadded", {Guid(Text(std::string(kPortsGuid) + '\0')), kCom1}, {}, {"COM2"}, true},
    {"NeitherValue", {kCom1}, {}, {"COM2"}, true},
    {"PortNameInParameters", {kPorts}, {kCom1}, {"COM1", "COM2"}, false},
    {"InstanceNameWins", {kPorts, PortName(Text("COM4"))}, {kCom1}, {"COM4", "COM2"}, false},
    {"NoPortName", {kPorts}, {}, {"COM2"}, false},
    {"NoPortNameInParameters", {kPorts}, {{"OTHER", Text("COM1")}}, {"COM2"}, false},
    {"Lpt", {kPorts, PortName(Text("LPT1"))}, {}, {"COM2"}, false},
    {"LowerCom", {kPorts, PortName(Text("com7"))}, {}, {"com7", "COM2"}, false},
    {"TwoChars", {kPorts, PortName(Text("CO"))}, {}, {"COM2"}, false},
    {"EmptyName", {kPorts, PortName(Text(""))}, {}, {"COM2"}, false},
    {"PrefixAlone", {kPorts, PortName(Text("COM"))}, {}, {"COM", "COM2"}, false},
    {"NameNoNul", {kPorts, PortName(Bytes("COM5"))}, {}, {"COM5", "COM2"}, false},
    {"NameCutAtNul", {kPorts, PortName(Text(std::string("COM9\0junk", 9)))}, {}, {"COM9", "COM2"}, false},
    {"Name128NoNul", {kPorts, PortName(Bytes(kLong128))}, {}, {kLong128, "COM2"}, false},
    {"Name300", {kPorts, PortName(Text(kLong300))}, {}, {kLong300, "COM2"}, false},
};
// clang-format on

using InstanceTest = RegistryWalkTableTest<InstanceCase>;

TEST_P(InstanceTest, HandsOverTheExpectedPorts) {
    const InstanceCase& c = GetParam();
    registry.AddKey(kInstance);
    for (const auto& [name, data] : c.values) registry.SetValue(kInstance, name, data);
    for (const auto& [name, data] : c.parameterValues) {
        registry.SetValue(kInstance + "\\DEVICE PARAMETERS", name, data);
    }
    AddPortInstance(registry, "ACPI\\PNP0501\\2", "COM2");

    EXPECT_TRUE(WalkTree());
    EXPECT_EQ(ports.PortNames(), c.expected);
    EXPECT_EQ(registry.Calls("query " + kInstance + " CLASSGUID"), c.guidRead ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Instances, InstanceTest, ::testing::ValuesIn(kInstanceCases),
                         NameByTitle());

TEST_F(RegistryWalkTest, TreeEntryCarriesFriendlyAndEnumeratorNames) {
    const std::string longEnumerator(300, 'E');
    const std::string longFriendly(200, 'F');
    AddPortInstance(registry, "ACPI\\PNP0501\\1", "COM1", "Communications Port (COM1)");
    AddPortInstance(registry, longEnumerator + "\\DEV\\1", "COM2", longFriendly);
    AddPortInstance(registry, "USB\\VID_0403\\1", "COM3");
    registry.SetString(std::string(kNtTreeRoot) + "\\USB\\VID_0403\\2\\DEVICE PARAMETERS",
                       "PORTNAME", "COM4");
    registry.SetString(std::string(kNtTreeRoot) + "\\USB\\VID_0403\\2", "CLASS", "Ports");
    AddPortInstance(registry, "USB\\VID_0403\\3", "COM5", "Fifth");
    registry.SetString(std::string(kNtTreeRoot) + "\\USB\\VID_0403\\4", "CLASS", "Ports");
    registry.SetString(std::string(kNtTreeRoot) + "\\USB\\VID_0403\\4\\DEVICE PARAMETERS",
                       "PORTNAME", "COM6");

    EXPECT_TRUE(WalkTree());
    const std::vector<SeenPort> expected = {
        {"COM1", "Communications Port (COM1)", "ACPI", false, 4},
        {"COM2", longFriendly, longEnumerator, false, 4},
        {"COM3", "COM3", "USB", true, 4},
        {"COM4", "COM4", "USB", true, 5},
        // The parameters key stays open until the next fallback or the end.
        {"COM5", "Fifth", "USB", false, 5},
        {"COM6", "COM6", "USB", true, 5},
    };
    EXPECT_EQ(ports.seen, expected);
}

TEST_F(RegistryWalkTest, TreeOpensEachLevelWithItsRights) {
    registry.SetString(kInstance, "CLASS", "Ports");
    registry.SetString(kInstance + "\\DEVICE PARAMETERS", "PORTNAME", "COM1");
    EXPECT_TRUE(WalkTree());
    const std::string enumerate = " " + std::to_string(KEY_ENUMERATE_SUB_KEYS);
    const std::string read = " " + std::to_string(KEY_READ);
    for (const std::string& open :
         {std::string(kNtTreeRoot) + enumerate, std::string(kNtTreeRoot) + "\\ACPI" + enumerate,
          std::string(kNtTreeRoot) + "\\ACPI\\PNP0501" + enumerate, kInstance + read,
          kInstance + "\\DEVICE PARAMETERS" + read}) {
        EXPECT_EQ(registry.Calls("open " + open), 1u) << open;
    }
}

TEST_F(RegistryWalkTest, TreeOrderSkipsEmptyLevels) {
    registry.AddKey(std::string(kNtTreeRoot) + "\\EMPTYENUM");
    AddPortInstance(registry, "B\\D1\\2", "COM3");
    AddPortInstance(registry, "B\\D1\\1", "COM2");
    registry.AddKey(std::string(kNtTreeRoot) + "\\B\\EMPTYDEVICE");
    AddPortInstance(registry, "B\\D2\\1", "COM4");
    AddPortInstance(registry, "A\\D\\1", "COM1");

    EXPECT_TRUE(WalkTree());
    EXPECT_EQ(ports.PortNames(), (Names{"COM3", "COM2", "COM4", "COM1"}));
}

TEST_F(RegistryWalkTest, NoPortsUnderTheRoot) {
    registry.AddKey(kNtTreeRoot);
    EXPECT_TRUE(WalkTree());
    EXPECT_TRUE(ports.seen.empty());
}

struct RefusalCase {
    const char* title;
    std::string refusedKey;  // below the root
    LONG code;

    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.title; }
};

const RefusalCase kRefusalCases[] = {
    {"Enumerator", "B", ERROR_ACCESS_DENIED},
    {"Device", "B\\DEV", ERROR_ACCESS_DENIED},
    {"Instance", "B\\DEV\\1", ERROR_GEN_FAILURE},
};

using RefusalTest = RegistryWalkTableTest<RefusalCase>;

TEST_P(RefusalTest, EndsTheWalkWithTheCodeAfterEarlierPorts) {
    AddPortInstance(registry, "A\\DEV\\1", "COM1");
    AddPortInstance(registry, "B\\DEV\\1", "COM2");
    AddPortInstance(registry, "C\\DEV\\1", "COM3");
    registry.RefuseOpen(std::string(kNtTreeRoot) + "\\" + GetParam().refusedKey, GetParam().code);

    EXPECT_FALSE(WalkTree());
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(GetParam().code));
    EXPECT_EQ(ports.PortNames(), Names{"COM1"});
    EXPECT_EQ(registry.Calls("open " + std::string(kNtTreeRoot) + "\\C"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Levels, RefusalTest, ::testing::ValuesIn(kRefusalCases), NameByTitle());

TEST_F(RegistryWalkTest, RefusedParametersKeyOnlyPassesTheInstanceOver) {
    registry.SetString(kInstance, "CLASS", "Ports");
    registry.SetString(kInstance + "\\DEVICE PARAMETERS", "PORTNAME", "COM1");
    registry.RefuseOpen(kInstance + "\\DEVICE PARAMETERS", ERROR_ACCESS_DENIED);
    AddPortInstance(registry, "ACPI\\PNP0501\\2", "COM2");

    EXPECT_TRUE(WalkTree());
    EXPECT_EQ(ports.PortNames(), Names{"COM2"});
}

struct ReadFailureCase {
    const char* title;
    // Reading this value (in the key `failingIn` below the root, or in any key when that is
    // empty), or the subkey names of this key below the root, gives ERROR_GEN_FAILURE.
    const char* failingValue;
    std::string failingIn;
    const char* failingEnumKey;
    bool walkFails;
    Names expected;

    friend void PrintTo(const ReadFailureCase& c, std::ostream* os) { *os << c.title; }
};

const ReadFailureCase kReadFailureCases[] = {
    {"Class", "CLASS", "", nullptr, false, {"COM2"}},
    {"ClassGuid", "CLASSGUID", "", nullptr, false, {"COM1"}},
    {"PortName", "PORTNAME", "", nullptr, true, {}},
    // Only a missing name in the instance sends the walk to its parameters; a failure there is
    // a failure of the walk, not a port without a name.
    {"ParametersPortName", "PORTNAME", "ACPI\\PNP0501\\1\\DEVICE PARAMETERS", nullptr, true, {}},
    {"FriendlyName", "FRIENDLYNAME", "", nullptr, true, {}},
    {"DeviceNames", nullptr, "", "ACPI\\PNP0501", true, {}},
};

using ReadFailureTest = RegistryWalkTableTest<ReadFailureCase>;

TEST_P(ReadFailureTest, OnlyClassReadsAreForgiven) {
    const ReadFailureCase& c = GetParam();
    // The first port's name is in its parameters, the second's in the instance itself.
    registry.SetString(kInstance, "CLASS", "Ports");
    registry.SetString(kInstance + "\\DEVICE PARAMETERS", "PORTNAME", "COM1");
    registry.SetString(kInstance, "FRIENDLYNAME", "One");
    registry.SetString(kSecondInstance, "CLASSGUID", kPortsGuid);
    registry.SetString(kSecondInstance, "PORTNAME", "COM2");
    registry.SetString(kSecondInstance, "FRIENDLYNAME", "Two");
    if (c.failingValue != nullptr) {
        const std::string key =
            c.failingIn.empty() ? "" : std::string(kNtTreeRoot) + "\\" + c.failingIn;
        registry.FailQuery(c.failingValue, ERROR_GEN_FAILURE, key);
    }
    if (c.failingEnumKey != nullptr) {
        registry.FailEnumKeys(std::string(kNtTreeRoot) + "\\" + c.failingEnumKey,
                              ERROR_GEN_FAILURE);
    }

    platform::SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WalkTree(), !c.walkFails);
    EXPECT_EQ(platform::GetLastError(), c.walkFails ? ERROR_GEN_FAILURE : ERROR_SUCCESS);
    EXPECT_EQ(ports.PortNames(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ReadFailureTest, ::testing::ValuesIn(kReadFailureCases),
                         NameByTitle());

TEST_F(RegistryWalkTest, MissingRootFailsWithoutCallback) {
    registry.AddKey("SYSTEM\\CURRENTCONTROLSET");
    EXPECT_FALSE(WalkTree());
    EXPECT_EQ(platform::GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(ports.seen.empty());
}

TEST_F(RegistryWalkTest, StoppingEndsAtOnceAndClosesInOrder) {
    registry.SetString(kInstance, "CLASS", "Ports");
    registry.SetString(kInstance + "\\DEVICE PARAMETERS", "PORTNAME", "COM1");
    AddPortInstance(registry, "ACPI\\PNP0501\\2", "COM2");
    ports.stopAt = 1;
    platform::SetLastError(ERROR_MORE_DATA);

    EXPECT_TRUE(WalkTree());
    EXPECT_EQ(platform::GetLastError(), ERROR_MORE_DATA) << "success leaves the slot alone";
    EXPECT_EQ(ports.PortNames(), Names{"COM1"});
    const std::vector<std::string>& log = registry.Log();
    const std::vector<std::string> tail(log.end() - 6, log.end());
    const std::vector<std::string> expected = {
        "query " + kInstance + " FRIENDLYNAME",
        "close " + kInstance + "\\DEVICE PARAMETERS",
        "close " + kInstance,
        "close " + std::string(kNtTreeRoot) + "\\ACPI\\PNP0501",
        "close " + std::string(kNtTreeRoot) + "\\ACPI",
        "close " + std::string(kNtTreeRoot),
    };
    EXPECT_EQ(tail, expected);
}

}  // namespace
