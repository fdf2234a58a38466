#!/usr/bin/env python3
"""Runs a command with a terminal on its standard input, so that Wine gives
every Windows program it starts a console (Wine's console needs a terminal or a
display). Standard output and error stay where they were; what the consoles
draw on the terminal is read and dropped. Nothing is ever typed into the
terminal: a terminal that a program like script(1) feeds would send its end of
input as a key. Exits with the command's status."""
import os
import pty
import select
import sys


def main():
    out, err = os.dup(1), os.dup(2)
    pid, terminal = pty.fork()
    if pid == 0:
        os.dup2(out, 1)
        os.dup2(err, 2)
        os.execvp(sys.argv[1], sys.argv[1:])
    while True:
        ready, _, _ = select.select([terminal], [], [], 0.5)
        if ready:
            try:
                drawn = os.read(terminal, 65536)
            except OSError:
                drawn = b""
            if not drawn:
                break  # no program has the terminal any more
        done, status = os.waitpid(pid, os.WNOHANG)
        if done == pid:
            sys.exit(os.waitstatus_to_exitcode(status))
    _, status = os.waitpid(pid, 0)
    sys.exit(os.waitstatus_to_exitcode(status))


main()
