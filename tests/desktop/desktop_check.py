"""Pilot images as the Linux desktop meets them, through the installed kind
of files: the MIME type (shared-mime-info), the gdk-pixbuf loader module
(registered by gdk-pixbuf-query-loaders) and gdk-pixbuf-thumbnailer.

    desktop_check.py mime|pixels|large LOADER QUORVEL SOURCE_DIR

mime    every Pilot image is named image/x-pilotimage by its bytes alone,
        another Palm database is not, and the loader registers the type
pixels  GdkPixbuf (through GObject introspection) and the thumbnailer give
        exactly the pixels of `quorvel convert x.pdb x.png`, for files
        quorvel writes at each depth, a cut-short one, and ImageMagick's
        and Netpbm's files (peers/README.md)
large   a cut-short 16384 x 16384 Pilot image thumbnails within 300 MB

Run by CTest with Debian's python3, which has python3-gi. Exits 77
(skipped) when a desktop package is missing, except in CI (CI=true),
where that fails.
"""
import os
import re
import resource
import shutil
import struct
import subprocess
import sys
import tempfile

SKIPPED = 77
PILOT = "image/x-pilotimage"
THUMBNAILER = "gdk-pixbuf-thumbnailer"


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def missing(what):
    if os.environ.get("CI") == "true":
        fail(f"{what} is missing (scripts/install-deps installs it)")
    print(f"skipped: {what} is missing (scripts/install-deps installs it)")
    sys.exit(SKIPPED)


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        fail(f"{' '.join(command)}: {done.stderr.strip()}")


def setting_up(loader, work):
    """The loader cache and a MIME database holding our type, in work, for
    this process and its children."""
    if loader == "none":
        missing("libgdk-pixbuf-2.0-dev (the loader was not built)")
    query = subprocess.run(["pkg-config", "--variable=gdk_pixbuf_query_loaders",
                            "gdk-pixbuf-2.0"], stdout=subprocess.PIPE, text=True)
    query_loaders = query.stdout.strip()
    for tool, package in ((query_loaders, "libgdk-pixbuf-2.0-0"),
                          (THUMBNAILER, "libgdk-pixbuf2.0-bin"),
                          ("update-mime-database", "shared-mime-info")):
        if not tool or not shutil.which(tool):
            missing(package)
    cache = os.path.join(work, "loaders.cache")
    with open(cache, "w") as out:
        subprocess.run([query_loaders, loader], stdout=out, check=True)
    packages = os.path.join(work, "share", "mime", "packages")
    os.makedirs(packages)
    shutil.copy(os.path.join(SOURCE, "desktop", "quorvel.xml"), packages)
    run("update-mime-database", os.path.dirname(packages))
    os.environ.update(GDK_PIXBUF_MODULE_FILE=cache,
                      XDG_DATA_HOME=os.path.join(work, "share"),
                      XDG_DATA_DIRS="/usr/share")
    try:
        import gi
        gi.require_version("GdkPixbuf", "2.0")
    except (ImportError, ValueError):
        missing("python3-gi or gir1.2-gdkpixbuf-2.0")
    return cache


def pilot_bytes(width, height, pixels, tealpaint=False):
    """A plain four-grey Pilot image as an outside program writes one, or a
    TealPaint 'GbDb' record's 1-bit picture (its size at the record's
    start, its pixels at 24)."""
    name = b"Large".ljust(32, b"\0")
    codes = b"GbDbTlPt" if tealpaint else b"vIMGView"
    database = name + bytes(28) + codes + bytes(8) + struct.pack(">h", 1)
    entry = struct.pack(">I", 86) + b"\x40\x6f\x80\x00"
    size = struct.pack(">hh", width, height)
    if tealpaint:
        return database + entry + size + bytes(20) + pixels
    return database + entry + name + bytes(18) + b"\xff" * 4 + size + pixels


def quorvel_files(quorvel, work):
    """Pilot images quorvel writes at each depth its help names, packed, and
    four greys plain and plain cut short; then the peers'."""
    scene = os.path.join(SOURCE, "samples", "scene.png")
    usage = subprocess.run([quorvel, "help", "convert"], capture_output=True,
                           text=True).stdout
    depths = re.search(r"--depth ([\w|]+)", usage).group(1).split("|")
    files = []
    for name, options in ([(f"{depth}-bit", ["--depth", depth])
                           for depth in depths if depth.isdigit()] +
                          [("2-bit-plain", ["--depth", "2", "--no-compression"])]):
        path = os.path.join(work, f"quorvel-{name}.pdb")
        run(quorvel, "convert", "-q", *options, scene, path)
        files.append(path)
    cut = os.path.join(work, "quorvel-2-bit-cut.pdb")
    with open(files[-1], "rb") as whole, open(cut, "wb") as out:
        out.write(whole.read()[:3000])
    files.append(cut)
    tealpaint = os.path.join(work, "tealpaint.pdb")
    with open(tealpaint, "wb") as out:
        out.write(pilot_bytes(40, 3, bytes(range(15)), tealpaint=True))
    files.append(tealpaint)
    peers = os.path.join(SOURCE, "tests", "desktop", "peers")
    return files + sorted(os.path.join(peers, name)
                          for name in os.listdir(peers) if name.endswith(".pdb"))


def rgb(pixbuf):
    """Width, height and the rows' RGB bytes, without padding or alpha."""
    width, height = pixbuf.get_width(), pixbuf.get_height()
    channels, stride = pixbuf.get_n_channels(), pixbuf.get_rowstride()
    data = pixbuf.get_pixels()
    return width, height, bytes(data[y * stride + x * channels + c]
                                for y in range(height) for x in range(width)
                                for c in range(3))


def same_pixels(have, want, what):
    if have[:2] != want[:2]:
        fail(f"{what}: have {have[0]} x {have[1]}, want {want[0]} x {want[1]}")
    for at, (a, b) in enumerate(zip(have[2], want[2])):
        if a != b:
            pixel = at // 3
            fail(f"{what}: pixel ({pixel % have[0]}, {pixel // have[0]}) "
                 f"has {a}, wants {b}")


def check_mime(quorvel, work, cache):
    from gi.repository import Gio
    with open(cache) as registered:
        if f'"{PILOT}"' not in registered.read():
            fail(f"the loader does not register {PILOT}")
    for path in quorvel_files(quorvel, work):
        with open(path, "rb") as file:
            data = file.read(4096)
        for name in (None, "picture.pdb"):
            guessed, _ = Gio.content_type_guess(name, data)
            if guessed != PILOT:
                fail(f"{os.path.basename(path)} is named {guessed}")
    # A Palm e-book (type 'TEXt', creator 'REAd') is a database too.
    book = bytes(60) + b"TEXtREAd" + bytes(8) + struct.pack(">h", 1)
    guessed, _ = Gio.content_type_guess("book.pdb", book)
    if guessed == PILOT:
        fail("a Palm e-book is named " + PILOT)


def check_pixels(quorvel, work):
    from gi.repository import GdkPixbuf
    for path in quorvel_files(quorvel, work):
        what = os.path.basename(path)
        png = os.path.join(work, what + ".png")
        run(quorvel, "convert", "-q", path, png)
        want = rgb(GdkPixbuf.Pixbuf.new_from_file(png))
        same_pixels(rgb(GdkPixbuf.Pixbuf.new_from_file(path)), want,
                    what + " through GdkPixbuf")
        # At the picture's own size the thumbnail is the picture.
        thumbnail = os.path.join(work, what + ".thumbnail.png")
        run(THUMBNAILER, "-s", str(max(want[:2])), path, thumbnail)
        same_pixels(rgb(GdkPixbuf.Pixbuf.new_from_file(thumbnail)), want,
                    what + " through " + THUMBNAILER)


def check_large(work):
    from gi.repository import GdkPixbuf
    side = 16384
    # The top 512 rows black; the rest never arrived.
    large = os.path.join(work, "large.pdb")
    with open(large, "wb") as out:
        out.write(pilot_bytes(side, side, b"\xff" * (side // 4 * 512)))
    thumbnail = os.path.join(work, "large.png")
    run(THUMBNAILER, "-s", "256", large, thumbnail)
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024
    print(f"{THUMBNAILER} -s 256 on a cut-short {side} x {side} Pilot image: "
          f"peak {peak} MB")
    if peak >= 300:
        fail(f"the thumbnail took {peak} MB, want under 300")
    width, height, pixels = rgb(GdkPixbuf.Pixbuf.new_from_file(thumbnail))
    if (width, height) != (256, 256) or pixels[0] != 0 or pixels[-1] != 255:
        fail(f"the thumbnail is {width} x {height}, first grey {pixels[0]}, "
             f"last {pixels[-1]}; want 256 x 256 from black to white")


def main():
    global SOURCE
    mode, loader, quorvel, SOURCE = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as work:
        cache = setting_up(loader, work)
        if mode == "mime":
            check_mime(quorvel, work, cache)
        elif mode == "pixels":
            check_pixels(quorvel, work)
        else:
            check_large(work)
    print("ok")


if __name__ == "__main__":
    main()
