"""Runs a command on a pseudo-terminal and answers its overwrite questions.

Usage: python3 pty_answers.py ANSWERS COMMAND ARGS...
ANSWERS is a comma-separated list of replies typed one per question, in order
(an empty list answers nothing). Prints "exit STATUS asked COUNT" and then
everything the command wrote to the terminal.
"""
import os
import pty
import sys
import time

PROMPT = b"[c] "


def main():
    answers = [a for a in sys.argv[1].split(",") if a] if sys.argv[1] else []
    pid, fd = pty.fork()
    if pid == 0:
        os.execv(sys.argv[2], sys.argv[2:])
    output, asked, deadline = b"", 0, time.time() + 60
    while time.time() < deadline:
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        output += chunk
        # One reply per prompt line that ends the output so far.
        tail = output.rsplit(b"\n", 1)[-1]
        if PROMPT in tail and tail.rstrip().endswith(b":"):
            reply = answers[asked] if asked < len(answers) else "c"
            asked += 1
            os.write(fd, reply.encode() + b"\n")
            output += b"\n"
    _, status = os.waitpid(pid, 0)
    code = os.WEXITSTATUS(status) if os.WIFEXITED(status) else -1
    print("exit %d asked %d" % (code, asked))
    sys.stdout.write(output.decode("utf-8", "replace"))


main()
