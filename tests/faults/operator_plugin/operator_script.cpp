#include "tests/faults/operator_plugin/operator_script.h"

#include <QMap>
#include <QStringList>
#include <utility>

namespace qdax_operator {
namespace {

const std::pair<CloseMoment, const char*> kMoments[] = {
    {CloseMoment::PendingRead, "read"},
    {CloseMoment::CommandDelay, "delay"},
};
const std::pair<CloseWay, const char*> kWays[] = {
    {CloseWay::CloseButton, "button"},
    {CloseWay::EscapeKey, "escape"},
    {CloseWay::CloseBox, "closebox"},
};

template <typename Value, std::size_t N>
std::optional<Value> Lookup(const std::pair<Value, const char*> (&names)[N], const QString& name) {
    for (const auto& [value, text] : names) {
        if (name == QLatin1String(text)) return value;
    }
    return std::nullopt;
}

template <typename Value, std::size_t N>
QString NameOf(const std::pair<Value, const char*> (&names)[N], Value value) {
    for (const auto& [known, text] : names) {
        if (known == value) return QLatin1String(text);
    }
    return {};
}

}  // namespace

std::optional<OperatorScript> ParseOperatorScript(const QString& text) {
    QMap<QString, QString> values;
    for (const QString& pair : text.split(';', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf('=');
        if (equals <= 0) return std::nullopt;
        values.insert(pair.left(equals), pair.mid(equals + 1));
    }
    OperatorScript script;
    bool delayRead = false;
    script.port = values.value("port");
    script.file = values.value("file");
    script.wirePath = values.value("wire");
    script.delayMs = values.value("delay").toInt(&delayRead);
    const std::optional<CloseMoment> moment = Lookup(kMoments, values.value("moment"));
    const std::optional<CloseWay> way = Lookup(kWays, values.value("close"));
    if (values.size() != 6 || script.port.isEmpty() || script.file.isEmpty() ||
        script.wirePath.isEmpty() || !delayRead || !moment || !way) {
        return std::nullopt;
    }
    script.moment = *moment;
    script.way = *way;
    return script;
}

QString OperatorScriptText(const OperatorScript& script) {
    return QStringList({"port=" + script.port, "file=" + script.file,
                        "delay=" + QString::number(script.delayMs), "wire=" + script.wirePath,
                        "moment=" + NameOf(kMoments, script.moment),
                        "close=" + NameOf(kWays, script.way)})
        .join(';');
}

}  // namespace qdax_operator
