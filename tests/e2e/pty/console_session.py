# Runs tavra at a pseudo-terminal or behind a pipe, answering its prompts, and keeps the console.
#
# A session is a list of steps (shown, typed): the program must have written `shown` before
# `typed` is given to it. `typed` is the text of an answer, KEY for the single key press
# after the gulper notice, END for the end of input, or None for the last step, after which
# the program must end by itself. Every wait is bounded, so a program that stops to wait
# where it should not fails the case instead of hanging the suite.

import fcntl
import os
import select
import subprocess
import termios
import time

KEY = object()
END = object()

STEP_SECONDS = 15.0  # generous for a sanitizer build on a loaded machine
DRAIN_SECONDS = 5.0
KEY_PAUSE_SECONDS = 0.3

# Indexes into the list termios.tcgetattr returns.
OFLAG = 1
LFLAG = 3
CC = 6


class Outcome:
    """What one run left: the console bytes, the exit status and the terminal's settings."""

    def __init__(self):
        self.transcript = b""
        self.expected = b""
        self.status = None  # negative: ended by that signal, as subprocess reports it
        self.settings_before = None
        self.settings_after = None
        self.left_in_terminal = b""  # typed bytes nobody read: the shell would get them next
        self.problem = None  # why the session stopped early, if it did


def _bytes(text):
    # The program's bytes pass through unchanged; the cases are written as text.
    return text.encode("latin-1")


def _at_terminal(text):
    # The terminal's output processing turns each line end into carriage return and line end.
    return _bytes(text.replace("\n", "\r\n"))


def _take_terminal():
    # Runs in the child after setsid: the pseudo-terminal on its standard error becomes the
    # controlling terminal, which /dev/tty then opens.
    fcntl.ioctl(2, termios.TIOCSCTTY, 0)


class _Console:
    """The master side of a pseudo-terminal, read as the planner's screen."""

    def __init__(self, master):
        self.master = master
        self.received = bytearray()

    def read_some(self, seconds):
        readable, _, _ = select.select([self.master], [], [], seconds)
        if not readable:
            return True
        try:
            chunk = os.read(self.master, 65536)
        except OSError:  # EIO once nobody holds the terminal any more
            return False
        if not chunk:
            return False
        self.received += chunk
        return True

    def wait_for(self, count, process):
        """Reads until count bytes have arrived; False when they do not come in time."""
        deadline = time.monotonic() + STEP_SECONDS
        ended_at = None
        while len(self.received) < count:
            now = time.monotonic()
            if now >= deadline:
                return False
            if process.poll() is not None:
                # What it wrote before it ended can still be on its way; not for long.
                ended_at = ended_at or now
                if now - ended_at > 1.0:
                    return False
            self.read_some(min(0.05, deadline - now))
        return True

    def drain(self):
        deadline = time.monotonic() + DRAIN_SECONDS
        while time.monotonic() < deadline:
            if not self.read_some(0.1):
                return


def _wait_until_key_mode(slave):
    """True once the program has switched echo and line input off to read its one key."""
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        lflag = termios.tcgetattr(slave)[LFLAG]
        if not lflag & (termios.ICANON | termios.ECHO):
            return True
        time.sleep(0.01)
    return False


def _stop(process):
    if process.poll() is None:
        process.kill()
    try:
        process.wait(timeout=STEP_SECONDS)
    except subprocess.TimeoutExpired:
        pass


def _unread_input(slave):
    """Whatever waits in the terminal's input, a partial line included."""
    settings = termios.tcgetattr(slave)
    settings[LFLAG] &= ~termios.ICANON
    settings[CC][termios.VMIN] = 0
    settings[CC][termios.VTIME] = 0
    termios.tcsetattr(slave, termios.TCSANOW, settings)
    try:
        return os.read(slave, 4096)
    except OSError:
        return b""


def at_terminal(argv, env, cwd, steps, answers_through_pipe=False, interrupt_at_key=False,
                key=b"x"):
    """Runs argv with a pseudo-terminal as its console and controlling terminal.

    The terminal starts as a planner's would: line input, echo, signals from the keyboard
    and line ends written as CR LF. Answers are typed at the terminal and echoed there, or,
    with answers_through_pipe, all written to a pipe on standard input beforehand. At KEY
    the driver waits until the program has switched the terminal to single-key input, then
    presses key (the bytes one key sends), or Ctrl-C with interrupt_at_key.
    """
    outcome = Outcome()
    master, slave = os.openpty()
    try:
        settings = termios.tcgetattr(slave)
        settings[LFLAG] |= termios.ICANON | termios.ECHO | termios.ISIG
        settings[OFLAG] |= termios.OPOST | termios.ONLCR
        termios.tcsetattr(slave, termios.TCSANOW, settings)
        outcome.settings_before = termios.tcgetattr(slave)

        process = subprocess.Popen(
            argv,
            stdin=subprocess.PIPE if answers_through_pipe else slave,
            stdout=slave,
            stderr=slave,
            cwd=cwd,
            env=env,
            start_new_session=True,
            preexec_fn=_take_terminal,
        )
        if answers_through_pipe:
            piped = "".join(t for _, t in steps if isinstance(t, str))
            process.stdin.write(_bytes(piped))
            process.stdin.close()

        console = _Console(master)
        expected = ""
        partial_line = False
        try:
            for shown, typed in steps:
                expected += shown
                want = _at_terminal(expected)
                if not console.wait_for(len(want), process):
                    outcome.problem = "the program did not write all that was expected in time"
                    break
                if bytes(console.received[: len(want)]) != want:
                    outcome.problem = "the program wrote something else"
                    break
                if typed is None:
                    break
                if typed is KEY:
                    if not _wait_until_key_mode(slave):
                        outcome.problem = "the terminal never left line input with echo"
                        break
                    # Nothing more may come before the key is pressed.
                    console.read_some(KEY_PAUSE_SECONDS)
                    if len(console.received) > len(want):
                        outcome.problem = "the program went on without waiting for the key"
                        break
                    os.write(master, b"\x03" if interrupt_at_key else key)
                elif typed is END:
                    if not answers_through_pipe:
                        # Ctrl-D ends a partly typed line first, then the input.
                        os.write(master, b"\x04\x04" if partial_line else b"\x04")
                elif not answers_through_pipe:
                    os.write(master, _bytes(typed))
                    expected += typed  # the terminal echoes what is typed
                    partial_line = not typed.endswith("\n")
            if outcome.problem is None:
                try:
                    process.wait(timeout=STEP_SECONDS)
                except subprocess.TimeoutExpired:
                    outcome.problem = "the program did not end in time"
        finally:
            _stop(process)
        outcome.status = process.returncode
        outcome.settings_after = termios.tcgetattr(slave)
        outcome.left_in_terminal = _unread_input(slave)
        os.close(slave)
        slave = None
        console.drain()
        outcome.transcript = bytes(console.received)
        outcome.expected = _at_terminal(expected)
    finally:
        if slave is not None:
            os.close(slave)
        os.close(master)
    return outcome


def through_pipe(argv, env, cwd, steps):
    """Runs argv with every answer on a pipe and in a session of its own (setsid), so that
    it has no controlling terminal and /dev/tty cannot be opened."""
    outcome = Outcome()
    answers = ""
    for _, typed in steps:
        if typed is END:
            break
        if isinstance(typed, str):
            answers += typed
    process = subprocess.Popen(
        argv,
        stdin=subprocess.PIPE,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        cwd=cwd,
        env=env,
        start_new_session=True,
    )
    try:
        outcome.transcript, _ = process.communicate(_bytes(answers), timeout=STEP_SECONDS)
    except subprocess.TimeoutExpired:
        outcome.problem = "the program did not end in time"
        _stop(process)
        outcome.transcript = b""
    outcome.status = process.returncode
    outcome.expected = _bytes("".join(shown for shown, _ in steps))
    return outcome
