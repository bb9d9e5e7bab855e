"""Pixels of the PNG images a browser hands out, and the measures the web tests take of them."""
import collections
import io

from PIL import Image, UnidentifiedImageError


def decode_png(data):
    """The image in PNG bytes, as RGB; None when it is no PNG."""
    try:
        with Image.open(io.BytesIO(data), formats=["PNG"]) as image:
            return image.convert("RGB")
    except (UnidentifiedImageError, OSError):
        return None


def is_dark(colour, limit=40):
    return max(colour) <= limit


def colour_counts(image, left=0, top=0, right=None, bottom=None):
    """How many pixels of each colour the image has, or the part of it within these bounds."""
    part = image.crop((left, top, image.width if right is None else right, image.height if bottom is None else bottom))
    return collections.Counter({colour: n for n, colour in part.getcolors(part.width * part.height)})


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
