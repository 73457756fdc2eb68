"""What scripts/compare-with-imagemagick and scripts/batch-scaling share:
finding the built quorvel, making deterministic test pictures, and timing
whole processes.

Only the standard library: the scripts install nothing.
"""

import os
import resource
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def fail(message):
    sys.exit("%s: %s" % (os.path.basename(sys.argv[0]), message))


def find_quorvel(preset, path):
    """The quorvel program: path when given, else build/PRESET/host/quorvel."""
    program = path or os.path.join(ROOT, "build", preset, "host", "quorvel")
    if not os.access(program, os.X_OK):
        fail("no built quorvel at %s; build it first with\n"
             "  cmake --preset %s && cmake --build --preset %s\n"
             "or name one with --quorvel PATH" % (program, preset, preset))
    return program


def quiet_environment(folder):
    """The environment for quorvel: an empty settings folder, so that
    stored defaults on this machine change nothing."""
    settings = os.path.join(folder, "settings")
    os.makedirs(settings, exist_ok=True)
    environment = dict(os.environ)
    environment["XDG_CONFIG_HOME"] = settings
    return environment


def _ramp(length, seed):
    """A long strip of colour that changes slowly, with a seed-dependent
    tint; rows cut from it at shifting offsets make diagonal gradients."""
    strip = bytearray(3 * length)
    for i in range(length):
        t = (i * 255) // max(length - 1, 1)
        strip[3 * i] = t
        strip[3 * i + 1] = (t * 3 + seed) & 255 if (i // 64) % 2 else 255 - t
        strip[3 * i + 2] = (t + seed * 37) & 255
    return bytes(strip)


def write_scene_ppm(path, width, height, seed=0):
    """A binary PPM of a diagonal colour gradient with a flat grey band
    across its middle third and a fine checkerboard in its bottom sixth:
    smooth areas to dither, flat ones that pack into runs, and detail
    that does not pack. The same arguments always give the same bytes."""
    strip = _ramp(width + height, seed)
    band = bytes((200, 200, 200)) * (width // 3)
    checks = (bytes((0, 0, 0, 255, 255, 255)) * (width // 2 + 1))[:3 * width]
    with open(path, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (width, height))
        for y in range(height):
            row = strip[3 * y:3 * (y + width)]
            if height // 3 <= y < 2 * height // 3:
                left = 3 * (width // 3)
                row = row[:left] + band + row[left + len(band):]
            elif y >= height - height // 6:
                row = checks if y % 2 else checks[3:] + checks[:3]
            out.write(row)


def run(command, environment=None):
    """Runs a command to the end; fails with its error output if it does."""
    done = subprocess.run(command, env=environment, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE)
    if done.returncode != 0:
        fail("%s failed (exit %d):\n%s" % (" ".join(command), done.returncode,
             done.stderr.decode(errors="replace")))


def timed_run(command, environment=None, before=None):
    """Wall-clock and CPU seconds (user + system) of one whole process.
    before, when given, runs first and is not timed (removing the output
    of the previous run, say)."""
    if before:
        before()
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    run(command, environment)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - usage.ru_utime) + (after.ru_stime - usage.ru_stime)
    return wall, cpu


def median_times(samples):
    """The medians of a list of (wall, cpu) pairs."""
    return (statistics.median(s[0] for s in samples),
            statistics.median(s[1] for s in samples))


def load_note():
    one, five, _ = os.getloadavg()
    return "load average %.2f (1 min), %.2f (5 min) on %d cores" % (
        one, five, os.cpu_count() or 0)


def remover(*paths):
    def remove():
        for path in paths:
            if os.path.lexists(path):
                os.remove(path)
    return remove


class FreshFolders:
    """A new output folder name for each run, under parent; the caller
    removes parent at the end. Deleting a batch's files just before the
    next batch creates as many makes ext4 pass over the inodes it freed
    moments ago (recently_deleted), a cost of the timing rather than of
    the program, and one that two jobs pay in turn."""

    def __init__(self, parent):
        self.parent = parent
        self.count = 0

    def next(self):
        self.count += 1
        return os.path.join(self.parent, "out%d" % self.count)
