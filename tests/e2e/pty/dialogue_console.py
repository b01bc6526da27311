# End-to-end cases of the console dialogue: the whole console of each run, at a terminal and through a pipe.
#
# Usage: python3 -B dialogue_console.py <path-to-tavra>
# Each case runs in a fresh directory holding the waypoint file survey.txt, with the clock
# fixed at 2020-07-08 15:05:30 UTC so that the files are named 2020_189_155.*.

import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile

from console_session import END, KEY, at_terminal, through_pipe

FIXED_TIME = "@2020-07-08 15:05:30"
STEM = "2020_189_155."
OUTPUTS = {STEM + ext for ext in ("cfg", "wpt", "pts", "csv")}

WAYPOINTS = "36.8167 -121.8171\n36.8215 -121.7986\n"

WELCOME = (
    "\n\nWelcome to Waypoints to KORRIN mission utility.\n"
    "Waypoint lat/lon's must be in decimal degree format.\n"
    "eg: 36.8167 -121.8170\n"
    "What's the name of the waypoint file ? \n"
    " > "
)
YOYO_QUESTION = " Will this be a YOYO Mission ? \n Please enter Y or N > "
GULPER_QUESTION = " Will this be a GULPER Mission ? \n Please enter Y or N > "
ASK_AGAIN = " Please enter y or n "
MENU_ERROR = "Error ... please try again\n"
GULPER_NOTICE = (
    " \n\n The Gulpers will be armed at mission start \n"
    " Remember to move the behavior if necessary \n"
    " Hit any key to continue \n"
)
AFTER_KEY = "\n\n"
END_OF_INPUT = "\n*** END OF INPUT: NO MISSION WRITTEN ***\n"
WROTE_ALL = (
    " **** Wrote mission script: 2020_189_155.cfg **** \n"
    "\n **** Wrote waypoints file : 2020_189_155.wpt ****\n"
    "\n **** Wrote survey line : 2020_189_155.pts ****\n"
    "\n **** Wrote csv file : 2020_189_155.csv ****\n"
)

GPS_HITS_PROMPT = "Number of GPS hits per surfacing is 30 \nPlease enter new number of hits \n\n > "
SPEED_PROMPT = (
    "mission Speed is 1.500 meters per second\nPlease enter new speed in meters per second \n\n >"
)
SLOW_SPEED_PROMPT = (
    "mission Speed Slow is 1.250 meters per second\n"
    "Please enter new speed in meters per second \n\n >"
)
MIN_DEPTH_PROMPT = "minDepth is 10.0 meters\nPlease enter new minDepth in meters \n\n >"
MIN_ALTITUDE_PROMPT = "YoYo Minimum Altitude is 15 meters\nPlease enter new altitude in meters \n\n > "
MAX_DEPTH_PROMPT = "mission YoYo Max Depth is 90 meters\nPlease enter new depth in meters \n\n > "
DIVE_ANGLE_PROMPT = (
    "mission dive angle is 30 degrees\nPlease enter new dive angle in degrees \n\n >"
)
DEPTH_PROMPT = "Default Waypoint Depth is 50.0 \nPlease enter new depth \n\n > "


def listing(name, content):
    return "\n\nWaypoint filename: \n " + name + " \n\n\nWaypoint List:\n\n" + content


def mission_screen(speed="1.500", slow="1.250", hits="30"):
    # The values as the screen shows them.
    return (
        "\n\n Mission Parameters \n\n"
        " 1  MISSION_SPEED " + speed + "\n"
        " 2  MISSION_SPEED_SLOW " + slow + "\n"
        " 3  GPS_HITS " + hits + "\n"
        " 4  Meters between surfacings 3600.0\n"
        " 5  minDepth 10.0\n"
        " 6  maxDepth 90.0\n"
        " 7  abortDepth 100.0\n"
        " 8  abortAltitude 2.5\n"
        " 9  abortLockoutDepth 8.0\n"
        "10  abortOnTimeout 1\n\n"
        " 0   All parameters are OK\n"
        "  Choose number of parameter to modify.\n"
        "  If parameters are OK, type 0 \n\n > "
    )


def yoyo_screen(max_depth="90", angle="30.0"):
    return (
        "\n\n YOYO Mission Parameters \n\n"
        "1  YOYO_MIN_ALTITUDE 15\n"
        "2  MISSION_YOYO_MIN_DEPTH 10\n"
        "3  MISSION_YOYO_MAX_DEPTH " + max_depth + "\n"
        "4  MISSION_YOYO_MAX_DEPTH_SHALLOW 20\n"
        "5  MISSION_DIVE_ANGLE " + angle + "\n"
        "0  All parameters are OK\n"
        "  Choose number of parameter to modify.\n"
        "  If parameters are OK, type 0 \n\n > "
    )


# The name survey.txt typed at the first prompt, then 0 at the parameters menu.
NAME_STEP = (WELCOME, "survey.txt\n")
TO_MENU = [NAME_STEP, (listing("survey.txt", WAYPOINTS) + mission_screen(), "0\n")]
PLAIN_TO_GULPER = [
    *TO_MENU,
    ("0\n" + YOYO_QUESTION, "n\n"),
    (DEPTH_PROMPT, "40\n"),
]


class Case:
    def __init__(self, name, steps, status=0, files=(), cfg_lines=(), inputs=None,
                 modes=("terminal", "pipe"), key=b"x"):
        self.key = key
        self.name = name
        self.steps = steps
        self.status = status
        self.inputs = {"survey.txt": WAYPOINTS} if inputs is None else inputs
        self.files = set(self.inputs) | set(files)
        self.cfg_lines = cfg_lines
        self.modes = modes


CASES = [
    # Main paths.
    Case(
        "all defaults accepted: 0, n, depth, n",
        [*TO_MENU, ("0\n" + YOYO_QUESTION, "n\n"), (DEPTH_PROMPT, "50\n"),
         (GULPER_QUESTION, "n\n"), (WROTE_ALL, None)],
        files=OUTPUTS,
    ),
    Case(
        "yoyo mission with edits, from a file whose last line has no line end",
        [
            NAME_STEP,
            (listing("survey.txt", WAYPOINTS.rstrip("\n")) + mission_screen(), "3\n"),
            (GPS_HITS_PROMPT, "12\n"),
            (mission_screen(hits="12"), "1\n"),
            (SPEED_PROMPT, "1.75\n"),
            (mission_screen(speed="1.750", hits="12"), "0\n"),
            ("0\n" + YOYO_QUESTION, "y\n"),
            (yoyo_screen(), "3\n"),
            (MAX_DEPTH_PROMPT, "85\n"),
            (yoyo_screen(max_depth="85"), "5\n"),
            (DIVE_ANGLE_PROMPT, "45\n"),
            (yoyo_screen(max_depth="85", angle="45.0"), "0\n"),
            ("0\n" + GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
        inputs={"survey.txt": WAYPOINTS.rstrip("\n")},
        cfg_lines=("#define MISSION_YOYO_MAX_DEPTH 85", "#define MISSION_SPEED 1.750",
                   "minHits        = 12;", "behavior waypoint_yoyo  {"),
    ),
    # At a terminal the program waits for the key; without a terminal it goes straight on.
    Case(
        "gulper yes waits for one key",
        [*PLAIN_TO_GULPER, (GULPER_QUESTION, "y\n"), (GULPER_NOTICE, KEY),
         (AFTER_KEY + WROTE_ALL, None)],
        files=OUTPUTS,
        cfg_lines=("#   *** GULPERS ARMED AT START OF MISSION ***", "depth         = 40.0; "),
        modes=("terminal", "pipe", "answers piped, key at the terminal"),
    ),
    Case(
        # An arrow key sends escape, [ and A at once; none of it may be left for the shell.
        "gulper yes takes an arrow key whole",
        [*PLAIN_TO_GULPER, (GULPER_QUESTION, "y\n"), (GULPER_NOTICE, KEY),
         (AFTER_KEY + WROTE_ALL, None)],
        files=OUTPUTS,
        modes=("terminal",),
        key=b"\x1b[A",
    ),
    Case(
        "Ctrl-C at the key press",
        [*PLAIN_TO_GULPER, (GULPER_QUESTION, "y\n"), (GULPER_NOTICE, KEY), ("", None)],
        status=-signal.SIGINT,
        modes=("terminal, Ctrl-C at the key",),
    ),
    # Menus.
    Case(
        "out-of-range choices show the menu again",
        [
            NAME_STEP,
            (listing("survey.txt", WAYPOINTS) + mission_screen(), "11\n"),
            (MENU_ERROR + mission_screen(), "-1\n"),
            (MENU_ERROR + mission_screen(), "0\n"),
            ("0\n" + YOYO_QUESTION, "y\n"),
            (yoyo_screen(), "6\n"),
            (MENU_ERROR + yoyo_screen(), "-1\n"),
            (MENU_ERROR + yoyo_screen(), "0\n"),
            ("0\n" + GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
    ),
    Case(
        # The letter's line end is left over and taken as the first yes/no answer; the
        # character read after that answer is the next line's first, here an empty line's.
        "a letter as the first answer accepts all values",
        [
            NAME_STEP,
            (listing("survey.txt", WAYPOINTS) + mission_screen(), "x\n"),
            ("0\n" + YOYO_QUESTION, "\n"),
            (ASK_AGAIN + YOYO_QUESTION, "n\n"),
            (DEPTH_PROMPT, "50\n"),
            (GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
    ),
    Case(
        "choice 2 then a letter gives the slow speed 1.5",
        [
            NAME_STEP,
            (listing("survey.txt", WAYPOINTS) + mission_screen(), "2\n"),
            (SLOW_SPEED_PROMPT, "x\n"),
            (mission_screen(slow="1.500"), "0\n"),
            ("0\n" + YOYO_QUESTION, "n\n"),
            (DEPTH_PROMPT, "50\n"),
            (GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
        cfg_lines=("#define MISSION_SPEED_SLOW 1.500",),
    ),
    # Yes/no questions.
    Case(
        # y answers, the e is consumed, the s ends the YOYO menu on the kept 0 and the line
        # end is the GULPER question's first answer, after which an empty line is consumed.
        "yes as the YOYO answer",
        [
            *TO_MENU,
            ("0\n" + YOYO_QUESTION, "yes\n"),
            (yoyo_screen() + "0\n" + GULPER_QUESTION, "\n"),
            (ASK_AGAIN + GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
        cfg_lines=("behavior waypoint_yoyo  {",),
    ),
    # File name.
    Case("an empty name", [(WELCOME, "\n"), ("cannot open file  ", None)], status=1),
    Case(
        "a name with a trailing blank names another file",
        [(WELCOME, "survey.txt \n"), ("cannot open file survey.txt  ", None)],
        status=1,
    ),
    Case(
        "a name with a trailing blank opens the file of that name",
        [
            (WELCOME, "survey.txt \n"),
            (listing("survey.txt ", WAYPOINTS) + mission_screen(), "0\n"),
            ("0\n" + YOYO_QUESTION, "n\n"),
            (DEPTH_PROMPT, "50\n"),
            (GULPER_QUESTION, "n\n"),
            (WROTE_ALL, None),
        ],
        files=OUTPUTS,
        inputs={"survey.txt ": WAYPOINTS},
    ),
    # End of input at each kind of prompt: the file name, a menu choice, an integer, a real
    # and a speed edit, the yes/no questions and the waypoint depth.
    Case("end of input at the file name", [(WELCOME, END), (END_OF_INPUT, None)], status=1),
    Case(
        "end of input at the parameters menu",
        [NAME_STEP, (listing("survey.txt", WAYPOINTS) + mission_screen(), END),
         (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at a whole-number edit",
        [NAME_STEP, (listing("survey.txt", WAYPOINTS) + mission_screen(), "3\n"),
         (GPS_HITS_PROMPT, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at a real-number edit",
        [NAME_STEP, (listing("survey.txt", WAYPOINTS) + mission_screen(), "5\n"),
         (MIN_DEPTH_PROMPT, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at a speed edit",
        [NAME_STEP, (listing("survey.txt", WAYPOINTS) + mission_screen(), "1\n"),
         (SPEED_PROMPT, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at the YOYO question",
        [*TO_MENU, ("0\n" + YOYO_QUESTION, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at the YOYO menu",
        [*TO_MENU, ("0\n" + YOYO_QUESTION, "y\n"), (yoyo_screen(), END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at a YOYO edit",
        [*TO_MENU, ("0\n" + YOYO_QUESTION, "y\n"), (yoyo_screen(), "1\n"),
         (MIN_ALTITUDE_PROMPT, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at the waypoint depth",
        [*TO_MENU, ("0\n" + YOYO_QUESTION, "n\n"), (DEPTH_PROMPT, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input at the GULPER question",
        [*PLAIN_TO_GULPER, (GULPER_QUESTION, END), (END_OF_INPUT, None)],
        status=1,
    ),
    Case(
        "end of input right after the last answer lets it stand",
        [*PLAIN_TO_GULPER, (GULPER_QUESTION, "n"), ("", END), (WROTE_ALL, None)],
        files=OUTPUTS,
    ),
]


def fixed_clock_environment():
    """The environment of every run: libfaketime preloaded with the clock fixed."""
    env = dict(os.environ)
    # The library is preloaded directly. The faketime launcher is not used: it would stay
    # between the driver and the program (Ctrl-C would reach both, and the exit status would
    # be the launcher's), and it refuses to start when a killed run left its semaphore behind.
    libraries = sorted(glob.glob("/usr/lib/*/faketime/libfaketime.so.1"))
    if not libraries:
        raise SystemExit("libfaketime is not installed (Debian package faketime)")
    env["LD_PRELOAD"] = libraries[0]
    env["FAKETIME"] = FIXED_TIME
    env.pop("FAKETIME_SHARED", None)
    env["TZ"] = "UTC"
    # AddressSanitizer refuses to start behind another preloaded library unless told.
    asan = env.get("ASAN_OPTIONS")
    env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "verify_asan_link_order=0"
    return env


def first_difference(expected, actual):
    at = next((i for i, (a, b) in enumerate(zip(expected, actual)) if a != b),
              min(len(expected), len(actual)))
    start = max(0, at - 60)
    return ("first difference at byte %d\n  expected ...%r\n  actual   ...%r"
            % (at, expected[start:at + 60], actual[start:at + 60]))


def check(case, mode, outcome, directory):
    """The complaints about one run, none when it went as expected."""
    problems = []
    if outcome.problem:
        problems.append(outcome.problem)
    if outcome.transcript != outcome.expected:
        problems.append("console differs: " + first_difference(outcome.expected,
                                                              outcome.transcript))
    if outcome.status != case.status:
        problems.append("exit status %r, expected %r" % (outcome.status, case.status))
    files = set(os.listdir(directory))
    if files != case.files:
        problems.append("files %s, expected %s" % (sorted(files), sorted(case.files)))
    elif case.cfg_lines:
        with open(os.path.join(directory, STEM + "cfg"), encoding="latin-1") as cfg:
            lines = cfg.read().split("\n")
        problems += ["mission script lacks %r" % line for line in case.cfg_lines
                     if line not in lines]
    if outcome.settings_before is not None and outcome.settings_after != outcome.settings_before:
        fields = ("iflag", "oflag", "cflag", "lflag", "ispeed", "ospeed", "cc")
        changed = ["%s %r, before %r" % (field, after, before) for field, before, after
                   in zip(fields, outcome.settings_before, outcome.settings_after)
                   if before != after]
        problems.append("terminal settings not restored: " + "; ".join(changed))
    if outcome.left_in_terminal:
        problems.append("typed but never read: %r" % outcome.left_in_terminal)
    return problems


def run_case(tavra, env, case, mode, scratch):
    directory = tempfile.mkdtemp(dir=scratch)
    for name, content in case.inputs.items():
        with open(os.path.join(directory, name), "w", encoding="latin-1", newline="") as f:
            f.write(content)
    argv = [tavra, "--interactive"]
    if mode == "pipe":
        outcome = through_pipe(argv, env, directory, case.steps)
    else:
        outcome = at_terminal(
            argv, env, directory, case.steps,
            answers_through_pipe=mode.startswith("answers piped"),
            interrupt_at_key=mode.endswith("Ctrl-C at the key"),
            key=case.key,
        )
    return check(case, mode, outcome, directory)


def main():
    tavra = os.path.realpath(sys.argv[1])
    env = fixed_clock_environment()
    scratch = tempfile.mkdtemp(prefix="tavra-dialogue-")
    passed = failed = 0
    try:
        for case in CASES:
            for mode in case.modes:
                problems = run_case(tavra, env, case, mode, scratch)
                if problems:
                    failed += 1
                    print("FAIL: %s (%s)" % (case.name, mode))
                    for problem in problems:
                        print("    " + problem)
                else:
                    passed += 1
                    print("ok: %s (%s)" % (case.name, mode))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
