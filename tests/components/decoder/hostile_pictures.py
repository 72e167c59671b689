"""Hostile and malformed picture files for PsyQrDcd.dll, and a runner that
decodes one of them in a Wine process of its own while watching its memory.

Every file is made here, from nothing but Python and ImageMagick, so no large
binary sits in the repository. The test (hostile_pictures_test.py) and the
before/after table (bench/decoder/hostile_table.py) share this module.
"""

import os
import signal
import struct
import subprocess
import tempfile
import time
import zlib

OUT_OF_MEMORY = -5
UNREADABLE = -3
CONVERT = "/usr/bin/convert"


# ---------------------------------------------------------------- PNG


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def zero_zlib_stream(total, chunk):
    """A zlib stream of `total` zero bytes, made without compressing them all:
    after a full flush the compressor forgets its history, so every further
    chunk of zeros compresses to the same bytes. `chunk` divides `total`."""
    assert total % chunk == 0
    c = zlib.compressobj(9)
    zeros = bytes(chunk)
    first = c.compress(zeros) + c.flush(zlib.Z_FULL_FLUSH)
    again = c.compress(zeros) + c.flush(zlib.Z_FULL_FLUSH)
    # The Adler-32 of n zeros: a stays 1, b adds 1 per byte.
    adler = ((total % 65521) << 16) | 1
    # An empty final block with fixed codes ends the deflate data.
    return first + again * (total // chunk - 1) + b"\x03\x00" + struct.pack(">I", adler)


def png(width, height, color_type, idat):
    header = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", idat) +
            png_chunk(b"IEND", b""))


def png_bomb(side, color_type):
    """A side x side PNG of black pixels whose data really inflates to it."""
    row = 1 + side * {0: 1, 2: 3}[color_type]
    rows_per_chunk = next(n for n in (100, 50, 40, 25, 20, 10, 8, 5, 4, 2, 1) if side % n == 0)
    return png(side, side, color_type, zero_zlib_stream(row * side, row * rows_per_chunk))


def png_claiming(width, height):
    """A PNG header claiming width x height over a few rows of data."""
    return png(width, height, 2, zlib.compress(bytes(1 + 3 * min(width, 4096)) * 4))


# ---------------------------------------------------------------- GIF


def lzw_encode(indices, min_code_size=8):
    """GIF's variable-width LZW, packed into data sub-blocks."""
    clear = 1 << min_code_size
    width = min_code_size + 1
    table = {bytes([i]): i for i in range(clear)}
    next_code = clear + 2
    out_bits = 0
    out_len = 0
    data = bytearray()

    def emit(code):
        nonlocal out_bits, out_len
        out_bits |= code << out_len
        out_len += width
        while out_len >= 8:
            data.append(out_bits & 0xFF)
            out_bits >>= 8
            out_len -= 8

    emit(clear)
    current = b""
    for value in indices:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code = clear + 2
            width = min_code_size + 1
        current = bytes([value])
    if current:
        emit(table[current])
    emit(clear + 1)
    if out_len:
        data.append(out_bits & 0xFF)
    blocks = bytearray([min_code_size])
    for i in range(0, len(data), 255):
        part = data[i:i + 255]
        blocks += bytes([len(part)]) + part
    return bytes(blocks + b"\x00")


def gif_frame(width, height, indices, left=0, top=0):
    """A graphic control extension and one image of a two-colour palette."""
    control = b"\x21\xf9\x04\x00\x0a\x00\x00\x00"
    descriptor = b"\x2c" + struct.pack("<HHHHB", left, top, width, height, 0)
    return control + descriptor + lzw_encode(indices)


def gif(screen_width, screen_height, frames):
    palette = b"\x00\x00\x00\xff\xff\xff" + bytes(3 * 254)
    header = b"GIF89a" + struct.pack("<HHBBB", screen_width, screen_height, 0xF7, 1, 0)
    return header + palette + b"".join(frames) + b"\x3b"


def grey_pixels(png_path, side):
    """The picture at `png_path` fitted onto a white side x side canvas, as
    palette indices 0 (dark) and 1 (light)."""
    raw = subprocess.run([CONVERT, png_path, "-background", "white", "-gravity", "center",
                          "-extent", f"{side}x{side}", "-depth", "8", "gray:-"],
                         check=True, capture_output=True).stdout
    return bytes(0 if v < 128 else 1 for v in raw)


def qr_png(text, path, scale=4):
    subprocess.run(["qrencode", "-o", path, "-s", str(scale), "-m", "4", text], check=True)


# ---------------------------------------------------------------- JPEG, BMP, TIFF, ICO


def jpeg_claiming(folder, width, height):
    """A small real JPEG whose frame header is changed to claim width x height."""
    path = os.path.join(folder, "small.jpg")
    subprocess.run([CONVERT, "-size", "64x64", "gradient:", "-quality", "80", path],
                   check=True)
    data = bytearray(open(path, "rb").read())
    sof = data.find(b"\xff\xc0")
    assert sof > 0
    struct.pack_into(">HH", data, sof + 5, height, width)
    return bytes(data)


def bmp(width, height, pixel_offset=None, data=None):
    """A 24-bit BMP; the header may claim more than the data holds."""
    if data is None:
        data = bytes(((width * 3 + 3) & ~3) * height)
    offset = 54 if pixel_offset is None else pixel_offset
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, offset)
    return header + info + data


def tiff(width, height, strip_offset=None, strip_bytes=None):
    """A little-endian grey TIFF with one strip, described by its first IFD."""
    pixels = bytes(min(width * height, 64 * 64))
    data_at = 8
    ifd_at = data_at + len(pixels)
    entries = [
        (256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (259, 3, 1, 1),
        (262, 3, 1, 1), (273, 4, 1, data_at if strip_offset is None else strip_offset),
        (277, 3, 1, 1), (278, 4, 1, height),
        (279, 4, 1, len(pixels) if strip_bytes is None else strip_bytes),
    ]
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        ifd += struct.pack("<HHII", tag, kind, count, value)
    ifd += struct.pack("<I", 0)
    return b"II*\x00" + struct.pack("<I", ifd_at) + pixels + ifd


def ico(images, offsets=None):
    """An icon file holding each of `images` (bytes of a PNG or a DIB)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    at = 6 + 16 * len(images)
    body = b""
    for i, image in enumerate(images):
        where = at + len(body) if offsets is None else offsets[i]
        directory += struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 32, len(image), where)
        body += image
    return directory + body


# ---------------------------------------------------------------- the set


def make_all(folder):
    """Writes every hostile class into `folder`; returns a list of
    (class name, file name, code the decoder must give)."""
    qr = os.path.join(folder, "symbol.png")
    qr_png("first frame of many", qr)
    files = [
        ("PNG bomb, 30000x30000 RGB", "bomb_rgb.png", png_bomb(30000, 2), OUT_OF_MEMORY),
        ("PNG bomb, 30000x30000 grey", "bomb_grey.png", png_bomb(30000, 0), OUT_OF_MEMORY),
        ("PNG header claiming 10^10 pixels", "claims_1e10.png",
         png_claiming(100000, 100000), OUT_OF_MEMORY),
        ("PNG header claiming 65535x65535", "claims_65535.png",
         png_claiming(65535, 65535), OUT_OF_MEMORY),
        ("JPEG header claiming 65500x65500", "claims_65500.jpg",
         jpeg_claiming(folder, 65500, 65500), OUT_OF_MEMORY),
        ("BMP pixel offset past the end", "offset_past_end.bmp",
         bmp(100, 100, pixel_offset=0x7FFFFF00), UNREADABLE),
        ("BMP header claiming 65535x65535", "claims_65535.bmp",
         bmp(65535, 65535, data=bytes(4096)), OUT_OF_MEMORY),
        ("BMP data shorter than its rows", "short_rows.bmp",
         bmp(2000, 2000, data=bytes(4096)), UNREADABLE),
        ("GIF of 10000 frames, 400x400", "frames_10000.gif",
         gif(400, 400, [gif_frame(400, 400, grey_pixels(qr, 400))] +
             [gif_frame(400, 400, bytes([1]) * 160000)] * 9999), 1),
        ("GIF screen claiming 65535x65535", "claims_65535.gif",
         gif(65535, 65535, [gif_frame(16, 16, bytes(256))]), OUT_OF_MEMORY),
        ("GIF frame claiming 65535x65535", "frame_65535.gif",
         gif(16, 16, [gif_frame(65535, 65535, bytes(256))]), OUT_OF_MEMORY),
        ("TIFF first IFD claiming 10^10 pixels", "claims_1e10.tif",
         tiff(100000, 100000), OUT_OF_MEMORY),
        ("TIFF strip past the end", "strip_past_end.tif",
         tiff(64, 64, strip_offset=0x7FFFFF00), UNREADABLE),
        ("ICO entry past the end", "entry_past_end.ico",
         ico([png_claiming(32, 32)], offsets=[0x7FFFFF00]), UNREADABLE),
        ("ICO holding a PNG bomb", "bomb.ico", ico([png_bomb(30000, 2)]), OUT_OF_MEMORY),
    ]
    table = []
    for name, file_name, data, code in files:
        with open(os.path.join(folder, file_name), "wb") as f:
            f.write(data)
        table.append((name, file_name, code))
    return table


# ---------------------------------------------------------------- the runner


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def descendants(root):
    """Process ids below `root` (children, grandchildren, ...)."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parents.setdefault(int(fields[1]), []).append(int(entry))
        except (OSError, IndexError):
            continue
    found, queue = [], [root]
    while queue:
        for child in parents.get(queue.pop(), []):
            found.append(child)
            queue.append(child)
    return found


def command(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return ""


def resident_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return 0


def run_probe(wine_run, probe, picture, calls, limit_seconds=60, limit_mb=2500):
    """Runs decode_probe.exe on `picture` in a Wine process of its own.

    Returns a dict: code (None when the process died), ms (the first call, as
    the probe timed it, else the wall time), peak_mb (the largest resident
    size of the probe's process), growth_mb (working set added between the
    warm-up calls and the last call), outcome ('ok', 'crashed', 'stopped').
    A process over `limit_mb` or `limit_seconds` is stopped by its id, so a
    runaway decode cannot take the machine's memory."""
    started = time.monotonic()
    # Without the debugger a crashed process ends at once instead of waiting
    # on a crash dialog.
    env = dict(os.environ, WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d")
    child = subprocess.Popen([wine_run, probe, windows_path(picture), str(calls)],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                             env=env)
    stopped = None
    peak_seen = 0.0
    watched = []
    name = os.path.basename(probe)[:15]  # as the kernel keeps it
    while child.poll() is None:
        # The probe's process is looked up once it exists; afterwards only its
        # status file is read, so the watch stays cheap on a busy machine.
        if not watched:
            watched = [pid for pid in descendants(child.pid) if command(pid) == name]
        for pid in watched:
            rss = resident_mb(pid)
            peak_seen = max(peak_seen, rss)
            over_time = time.monotonic() - started > limit_seconds
            if stopped is None and (rss > limit_mb or over_time):
                stopped = "time" if over_time else "memory"
                try:
                    os.kill(pid, signal.SIGKILL)
                except OSError:
                    pass
        time.sleep(0.02)
    wall_ms = (time.monotonic() - started) * 1000
    out = child.stdout.read()
    result = {"code": None, "ms": wall_ms, "peak_mb": peak_seen, "growth_mb": None,
              "outcome": "stopped (" + stopped + ")" if stopped else "crashed",
              "output": out.strip()}
    fields = dict(part.split("=", 1) for part in out.split() if "=" in part)
    if child.returncode == 0 and "code" in fields:
        result.update(code=int(fields["code"]), ms=float(fields["ms"]),
                      peak_mb=max(peak_seen, float(fields["peak_mb"])),
                      growth_mb=float(fields["end_mb"]) - float(fields["warm_mb"]),
                      outcome="ok")
    return result


def scratch_folder():
    return tempfile.mkdtemp(prefix="kodaro-hostile-")
