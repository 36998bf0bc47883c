"""Runs a program on a pseudo-terminal, which Wine takes for a real console, types a name at its
prompt as a user would, presses Enter once more if it shows a message, and prints what the
terminal showed. The exit status is the program's.

    python3 type_at_console.py NAME COMMAND [ARGS...]
"""
import os
import pty
import re
import select
import sys
import time


def screen_text(shown):
    """The text shown, without the console's cursor sequences; a skipped cell counts as a space."""
    text = re.sub(rb"\x1b\[K\x1b\[1C", b" ", shown)
    return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]|\r", b"", text)


def main():
    name, command = sys.argv[1], sys.argv[2:]
    pid, terminal = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    shown = b""
    typed = answered = False
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        # Keys are typed only once the screen has been still for a second, when the program is
        # surely waiting for them: keys typed while it is still writing may go astray.
        ready, _, _ = select.select([terminal], [], [], 1.0)
        if ready:
            try:
                data = os.read(terminal, 4096)
            except OSError:  # the program has ended and closed the terminal
                break
            if not data:
                break
            shown += data
            continue
        text = screen_text(shown)
        if not typed and b"souboru:" in text:
            os.write(terminal, name.encode("utf-8") + b"\r")
            typed = True
        elif typed and not answered and b"!!!" in text:
            os.write(terminal, b"\r")
            answered = True
    _, status = os.waitpid(pid, 0)
    sys.stdout.buffer.write(screen_text(shown))
    sys.exit(os.waitstatus_to_exitcode(status))


main()
