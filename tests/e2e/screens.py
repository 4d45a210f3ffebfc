"""What the whole-program tests see of a game window: screenshots of an X
display taken with xwd, read without any further tool, and the coarse checks
made on them (a screen that is not one colour, pixels in the interface's
colours within a region)."""

import struct
import subprocess

import numpy as np
from PIL import Image

XWD_HEADER = struct.Struct(">25I")
XWD_COLOUR_BYTES = 12


def read_xwd(data):
    """An XWD dump of a TrueColor window as an array of rows of RGB pixels."""
    fields = XWD_HEADER.unpack_from(data)
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    colours = fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError("screenshots need 24 or 32 bits per pixel, not %d" % bits_per_pixel)
    pixel_bytes = bits_per_pixel // 8
    start = header_size + colours * XWD_COLOUR_BYTES
    rows = np.frombuffer(data, dtype=np.uint8, count=height * bytes_per_line, offset=start)
    cells = rows.reshape(height, bytes_per_line)[:, :width * pixel_bytes].reshape(height, width, pixel_bytes)
    if byte_order == 0:  # least significant byte first
        cells = cells[:, :, ::-1]
    words = np.zeros((height, width), dtype=np.uint32)
    for index in range(pixel_bytes):
        words = (words << 8) | cells[:, :, index]
    channels = []
    for mask in masks:
        shift = (mask & -mask).bit_length() - 1
        channels.append(((words & mask) >> shift).astype(np.uint8))
    return np.dstack(channels)


def screenshot(display):
    """The whole screen of the display, as RGB rows."""
    dump = subprocess.run(["xwd", "-root", "-silent", "-display", display], check=True,
                          stdout=subprocess.PIPE, timeout=20).stdout
    return read_xwd(dump)


def save_png(pixels, path):
    Image.fromarray(pixels, "RGB").save(path)


def colour_count(pixels):
    """How many different colours the picture holds (a blank screen has one)."""
    flat = pixels.reshape(-1, 3).astype(np.uint32)
    return len(np.unique((flat[:, 0] << 16) | (flat[:, 1] << 8) | flat[:, 2]))


def near(pixels, colour, box=None, tolerance=40):
    """How many pixels of the box (left, top, right, bottom) lie within the
    tolerance of the colour on every channel."""
    if box is not None:
        left, top, right, bottom = box
        pixels = pixels[top:bottom, left:right]
    difference = np.abs(pixels.astype(np.int32) - np.array(colour, dtype=np.int32))
    return int(np.count_nonzero(np.all(difference <= tolerance, axis=2)))


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))
