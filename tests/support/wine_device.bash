# A simulated device for a program under Wine: the device agent (QDAX_DEVICE_AGENT, named by
# run_with_device_agent --wine-prefix) runs a simulator on the Linux side and links it as a COM
# port of the prefix. Sourced after keyboard_session.bash, whose `fail` and `work` it uses.

exec 5<> "/dev/tcp/127.0.0.1/$QDAX_DEVICE_AGENT"
# Asks the agent one thing and prints the value of its answer; any other answer fails the test.
ask() {
    local reply
    printf '%s\n' "$1" >&5
    IFS= read -r reply <&5
    reply="${reply%$'\r'}"
    [[ "$reply" == OK* || "$reply" == DATA* ]] || fail "the device agent answered $1 with: $reply"
    echo "${reply#* }"
}

# Starts a simulator, lists it in the device tree of the prefix that RUN_WINE runs in, as a port
# driver lists its ports, and prints its COM name.
list_simulated_port() {
    local run_wine="$1" com
    com="$(ask SIMULATE)"
    com="${com%% *}"
    cat > "$work/device.reg" << REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\QDAXSIM\\SIMULATOR\\0000]
"Class"="Ports"
"ClassGUID"="{4D36E978-E325-11CE-BFC1-08002BE10318}"
"FriendlyName"="Q-Dax simulator ($com)"

[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\QDAXSIM\\SIMULATOR\\0000\\Device Parameters]
"PortName"="$com"
REG
    "$run_wine" reg import "$("$run_wine" winepath -w "$work/device.reg" | tr -d '\r')" \
        > /dev/null 2>&1 || fail "the device tree was not imported"
    echo "$com"
}

# Takes the listed simulator out of the prefix's device tree again.
unlist_simulated_port() {
    "$1" reg delete 'HKLM\SYSTEM\CurrentControlSet\Enum\QDAXSIM' /f > /dev/null 2>&1 || true
}

# The wire the simulator received as hexadecimal, polled until it is `expected`.
wire_is() { [[ "$(ask WIRE)" == "$1" ]]; }
