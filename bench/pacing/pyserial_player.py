#!/usr/bin/env python3
"""Plays a command file to a serial device the way one would with pyserial: each command
written with a carriage return, the answer read with readline, and the line left to be silent
for 50 ms (the loader's read-interval time-out) before the next command.

Usage: pyserial_player.py PORT COMMAND_FILE
"""
import sys

import serial


def main():
    port_path, command_file = sys.argv[1], sys.argv[2]
    with open(command_file, "rb") as commands:
        lines = commands.read().splitlines()
    with serial.Serial(port_path, 19200, timeout=0.05) as port:
        for line in lines:
            port.write(line + b"\r")
            while not port.readline().strip(b"\r\n"):
                pass
            while port.read(255):
                pass


if __name__ == "__main__":
    main()
