"""Pixels of the PNG images a browser hands out, and the measures the web tests take of them.

The decoder reads what Chromium writes (8-bit greyscale, RGB or RGBA, with
or without alpha, not interlaced) with the standard library alone, so that
the tests need no imaging package.
"""
import collections
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}


class Image:
    """Pixels as RGB bytes, three a pixel, row by row from the top."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixels(self, left=0, top=0, right=None, bottom=None):
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        for y in range(top, bottom):
            row = self.rgb[3 * (y * self.width + left) : 3 * (y * self.width + right)]
            yield from zip(row[0::3], row[1::3], row[2::3])


def _chunks(data):
    position = len(SIGNATURE)
    while position + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[position : position + 8])
        yield kind, data[position + 8 : position + 8 + length]
        position += 12 + length


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def _unfilter(kind, row, previous, step):
    if kind == 0:
        return row
    if kind == 2:
        return bytearray((x + b) & 255 for x, b in zip(row, previous))
    # Sub, Average and Paeth depend on the pixel to the left: byte by byte.
    for i in range(len(row)):
        a = row[i - step] if i >= step else 0
        if kind == 1:
            row[i] = (row[i] + a) & 255
        elif kind == 3:
            row[i] = (row[i] + ((a + previous[i]) >> 1)) & 255
        else:
            row[i] = (row[i] + _paeth(a, previous[i], previous[i - step] if i >= step else 0)) & 255
    return row


def decode_png(data):
    """The image in PNG bytes; None when it is not a PNG this reads."""
    if not data.startswith(SIGNATURE):
        return None
    header, compressed = None, []
    for kind, body in _chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed.append(body)
    if header is None:
        return None
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or interlace or colour_type not in CHANNELS:
        return None
    step = CHANNELS[colour_type]
    stride = width * step
    raw = zlib.decompress(b"".join(compressed))
    rgb = bytearray()
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        row = _unfilter(raw[start], bytearray(raw[start + 1 : start + 1 + stride]), previous, step)
        if step == 3:
            rgb += row
        elif step == 4:
            opaque = bytearray(row)
            del opaque[3::4]
            rgb += opaque
        else:
            rgb += bytes(v for v in row[0::step] for _ in range(3))
        previous = row
    return Image(width, height, bytes(rgb))


def is_dark(colour, limit=40):
    return max(colour) <= limit


def colour_counts(image, **region):
    return collections.Counter(image.pixels(**region))


def dominant(counts, keep=lambda colour: True):
    """The most common colour among those kept and its share of them; (None, 0) when none is kept."""
    kept = [(n, colour) for colour, n in counts.items() if keep(colour)]
    if not kept:
        return None, 0.0
    count, colour = max(kept)
    return colour, count / sum(n for n, _ in kept)


def distance_to_segment(colour, start, end):
    """How far a colour is from the straight line of mixes between two colours (largest channel)."""
    span = [e - s for s, e in zip(start, end)]
    length = sum(d * d for d in span)
    t = 0.0 if length == 0 else sum((c - s) * d for c, s, d in zip(colour, start, span)) / length
    t = min(1.0, max(0.0, t))
    return max(abs(c - (s + t * d)) for c, s, d in zip(colour, start, span))


def white_count(counts, floor=245):
    return sum(n for colour, n in counts.items() if min(colour) >= floor)
