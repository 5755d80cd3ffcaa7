"""Judges and draws a soak's samples (seconds, rss_kb, fds) without plotting libraries:
growth after the first minute, and a small PNG of memory (blue) and descriptors (red)."""
import struct
import sys
import zlib


def read(path):
    rows = [line.split("\t") for line in open(path).read().split("\n")[1:] if line]
    return [(int(s), int(r), int(f)) for s, r, f in rows]


def png(path, width, height, pixels):
    raw = b"".join(b"\0" + bytes(pixels[y * width * 3:(y + 1) * width * 3]) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def draw(samples, path, width=480, height=160):
    pixels = bytearray([255] * width * height * 3)
    last = max(s for s, _, _ in samples) or 1

    def dot(x, y, colour):
        for dy in (-1, 0, 1):
            if 0 <= y + dy < height and 0 <= x < width:
                i = ((y + dy) * width + x) * 3
                pixels[i:i + 3] = bytes(colour)

    def line(values, colour, low, high):
        span = (high - low) or 1
        points = [(int(s / last * (width - 1)), height - 11 - int((v - low) / span * (height - 21)))
                  for s, v in values]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            for x in range(x0, x1 + 1):
                dot(x, y0 + (y1 - y0) * (x - x0) // max(x1 - x0, 1), colour)
        for x, y in points[-1:]:
            dot(x, y, colour)

    for x in range(width):  # the zero line
        dot(x, height - 11, (160, 160, 160))

    rss = [(s, r) for s, r, _ in samples]
    fds = [(s, f) for s, _, f in samples]
    line(rss, (40, 90, 200), 0, max(r for _, r in rss) * 1.2)
    line(fds, (210, 40, 40), 0, max(f for _, f in fds) * 1.2)
    png(path, width, height, pixels)


def main():
    samples = read(sys.argv[1])
    settled = [row for row in samples if row[0] >= 60] or samples
    base_rss = settled[0][1]
    top_rss = max(r for _, r, _ in settled)
    growth = (top_rss - base_rss) / base_rss * 100
    # A request in flight holds a socket for a moment, so single samples wander by a few;
    # a leak raises the floor. Compared: the fewest descriptors in the first two minutes
    # after the first, and in the last two.
    last = settled[-1][0]
    first_floor = min(f for s, _, f in settled if s < settled[0][0] + 120)
    last_floor = min(f for s, _, f in settled if s > last - 120)
    print(f"after the first minute: memory {base_rss} kB -> at most {top_rss} kB ({growth:+.1f} %), "
          f"descriptors (floor over two minutes) {first_floor} -> {last_floor}")
    draw(samples, sys.argv[2])
    ok = growth <= 5 and last_floor <= first_floor
    print("soak:", "passed" if ok else "FAILED", "(goal: memory within 5 %, no descriptor growth)")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
