"""The drawing kit of the face-part generator: shapes as masks drawn at twice
the cell size, mask arithmetic, light on rounded forms, hair strands, and
layers that paint through masks and come out as finished 512-pixel cells.
Coordinates are cell pixels (0..512, y down) everywhere."""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

CELL = 512  # a part's cell: the whole portrait square
PITCH = 514  # cells lie one gutter pixel apart on every side
SS = 2  # drawn at twice the size, then averaged down for smooth edges
N = CELL * SS
CX = CELL // 2  # the portrait's middle, about which faces are drawn symmetric
LIGHT = np.array([-0.45, -0.6, 0.66])  # from the upper left, towards the viewer
LIGHT = LIGHT / np.linalg.norm(LIGHT)


# ---------------------------------------------------------------- shapes


def scaled(points):
    return [(x * SS, y * SS) for x, y in points]


def mask_of(draw):
    """A mask (0..1 floats, N x N) of what draw(ImageDraw) paints."""
    image = Image.new("L", (N, N), 0)
    draw(ImageDraw.Draw(image))
    return np.asarray(image, dtype=np.float32) / 255.0


def polygon(points):
    return mask_of(lambda d: d.polygon(scaled(points), fill=255))


def ellipse(cx, cy, rx, ry):
    return mask_of(lambda d: d.ellipse([(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS], fill=255))


def polyline(points, width):
    return mask_of(lambda d: d.line(scaled(points), fill=255, width=max(1, round(width * SS)), joint="curve"))


def cubic(p0, p1, p2, p3, steps=24):
    """Points along a cubic Bezier curve, p0 included, p3 included."""
    t = np.linspace(0.0, 1.0, steps)[:, None]
    p0, p1, p2, p3 = (np.array(p, dtype=float) for p in (p0, p1, p2, p3))
    curve = (1 - t) ** 3 * p0 + 3 * (1 - t) ** 2 * t * p1 + 3 * (1 - t) * t**2 * p2 + t**3 * p3
    return [tuple(p) for p in curve]


def path(start, *segments):
    """A chain of cubic segments: each segment is (control, control, end)."""
    points = [start]
    for c1, c2, end in segments:
        points += cubic(points[-1], c1, c2, end)[1:]
    return points


def mirrored(points):
    """The points reflected about the face's middle, in reverse order."""
    return [(2 * CX - x, y) for x, y in reversed(points)]


def symmetric(right_side):
    """A closed outline from its right half, drawn from the top middle down."""
    return right_side + mirrored(right_side)


def tapered_stroke(points, start_width, end_width):
    """A filled stroke along points whose width changes from start to end."""
    pts = np.array(points, dtype=float)
    tangents = np.gradient(pts, axis=0)
    tangents /= np.maximum(np.linalg.norm(tangents, axis=1, keepdims=True), 1e-6)
    normals = np.stack([-tangents[:, 1], tangents[:, 0]], axis=1)
    widths = np.linspace(start_width, end_width, len(pts))[:, None] / 2
    left = pts + normals * widths
    right = pts - normals * widths
    return polygon([tuple(p) for p in left] + [tuple(p) for p in right[::-1]])


# ---------------------------------------------------------------- mask arithmetic

# Cell coordinates of every drawing pixel.
Y, X = (grid.astype(np.float32) / SS for grid in np.mgrid[0:N, 0:N])


def region(a, margin):
    """The slices of the box around what is not zero in a, grown by margin
    cell pixels; None when a is zero everywhere. Work on a part's own box is
    what keeps drawing 60 cells quick."""
    rows = np.flatnonzero(a.any(axis=1))
    if len(rows) == 0:
        return None
    columns = np.flatnonzero(a.any(axis=0))
    m = int(math.ceil(margin * SS))
    return (slice(max(0, rows[0] - m), min(N, rows[-1] + 1 + m)),
            slice(max(0, columns[0] - m), min(N, columns[-1] + 1 + m)))


def box_blur(a, r):
    """Three box passes of radius r drawing pixels, close to a Gaussian."""
    out = a
    for _ in range(3):
        for axis in (0, 1):
            pad = [(r + 1, r) if i == axis else (0, 0) for i in range(2)]
            summed = np.cumsum(np.pad(out, pad, mode="edge"), axis=axis, dtype=np.float32)
            high = [slice(None)] * 2
            low = [slice(None)] * 2
            high[axis] = slice(2 * r + 1, None)
            low[axis] = slice(None, -2 * r - 1)
            out = (summed[tuple(high)] - summed[tuple(low)]) / (2 * r + 1)
    return out


def blur(a, radius):
    """A soft copy of the array, spread by about radius cell pixels."""
    out = np.zeros((N, N), dtype=np.float32)
    box = region(a, 3 * radius)
    if box is not None:
        out[box] = box_blur(a[box].astype(np.float32), max(1, int(radius * SS / 2)))
    return out


def eroded(mask, width):
    """The mask shrunk by width cell pixels."""
    out = np.zeros((N, N), dtype=np.float32)
    box = region(mask, 2 * width + 1)
    if box is not None:
        size = 2 * max(1, round(width * SS / 2)) + 1
        image = Image.fromarray((mask[box] * 255).astype(np.uint8), "L").filter(ImageFilter.MinFilter(size))
        out[box] = np.asarray(image, dtype=np.float32) / 255.0
    return out


def edge(mask, width):
    """The band of the mask within width cell pixels of its rim."""
    return np.clip(mask - eroded(mask, width), 0.0, 1.0)


def shifted(a, dx, dy):
    return np.roll(np.roll(a, round(dy * SS), axis=0), round(dx * SS), axis=1)


def union(*masks):
    return np.clip(np.maximum.reduce(masks), 0.0, 1.0)


def cut(mask, hole):
    return np.clip(mask - hole, 0.0, 1.0)


def form(mask, radius, ambient=0.62, strength=1.6):
    """Light on a rounded form: the mask blurred into a dome, its slopes lit
    from the upper left. 1 on the lit top, down to ambient in shadow."""
    value = np.ones((N, N), dtype=np.float32)
    box = region(mask, 3 * radius)
    if box is None:
        return value
    height = box_blur(mask[box].astype(np.float32), max(1, int(radius * SS / 2)))
    gy, gx = np.gradient(height)
    k = strength * radius * SS
    normals = np.stack([-gx * k, -gy * k, np.ones_like(height)], axis=-1)
    normals /= np.linalg.norm(normals, axis=-1, keepdims=True)
    diffuse = np.clip(normals @ LIGHT.astype(np.float32), 0.0, 1.0)
    value[box] = ambient + (1.0 - ambient) * diffuse / LIGHT[2]
    return value


def noise(seed, scale):
    """Smooth noise, about -1..1, with blobs of roughly scale cell pixels."""
    rng = np.random.default_rng(seed)
    coarse = rng.standard_normal((max(2, N // (scale * SS)) + 2,) * 2).astype(np.float32)
    image = Image.fromarray(coarse, "F").resize((N, N), Image.BICUBIC)
    out = np.asarray(image, dtype=np.float32)
    return out / max(1e-6, float(np.abs(out).max()))


# ---------------------------------------------------------------- layers


class Layer:
    """A picture being painted: straight-alpha colour, painted over in order."""

    def __init__(self):
        self.rgb = np.zeros((N, N, 3), dtype=np.float32)
        self.alpha = np.zeros((N, N), dtype=np.float32)

    def paint(self, mask, colour, opacity=1.0):
        """Paints colour (a grey, an (r, g, b), or an array of either) through
        the mask over what is there."""
        box = region(mask, 0)
        if box is None:
            return
        m = np.clip(mask[box] * opacity, 0.0, 1.0)
        colour = np.asarray(colour, dtype=np.float32)
        if colour.ndim >= 2:
            colour = colour[box]
        if colour.ndim == 0 or colour.ndim == 2:
            colour = colour[..., None] * np.ones(3, dtype=np.float32)
        alpha = self.alpha[box]
        new_alpha = alpha + m * (1.0 - alpha)
        over = self.rgb[box] * (alpha * (1.0 - m))[..., None] + colour * m[..., None]
        self.rgb[box] = over / np.maximum(new_alpha, 1e-6)[..., None]
        self.alpha[box] = new_alpha

    def shade(self, mask, amount):
        """Darkens (amount below 0) or lightens what is painted, keeping its alpha."""
        box = region(mask, 0)
        if box is not None:
            factor = 1.0 + amount * mask[box]
            self.rgb[box] = np.clip(self.rgb[box] * factor[..., None], 0.0, 1.0)

    def cell(self):
        """The finished 512 x 512 RGBA cell. Colour is averaged by coverage;
        transparent pixels take the colour of what is near them, so smooth
        sampling never pulls a dark fringe out of the gaps."""
        small_p = averaged_down(self.rgb * self.alpha[..., None])
        small_a = averaged_down(self.alpha)
        colour = small_p / np.maximum(small_a, 1e-6)[..., None]
        near = np.stack([blur_cell(small_p[..., i]) for i in range(3)], axis=-1)
        near /= np.maximum(blur_cell(small_a), 1e-6)[..., None]
        colour = np.where(small_a[..., None] > 0.02, colour, near)
        rgba = np.concatenate([colour, small_a[..., None]], axis=-1)
        return np.clip(np.round(rgba * 255), 0, 255).astype(np.uint8)


def averaged_down(a):
    """The drawing-sized array averaged down to the cell, SS x SS pixels each."""
    return sum(a[dy::SS, dx::SS] for dy in range(SS) for dx in range(SS)) / (SS * SS)


def blur_cell(a):
    return np.asarray(Image.fromarray(a.astype(np.float32), "F").resize((32, 32), Image.BOX).resize(
        (CELL, CELL), Image.BILINEAR), dtype=np.float32)


def outlined(layer, mask, value=0.3, width=2.5, opacity=0.9):
    layer.paint(edge(mask, width), value, opacity)


def hair_texture(mask, seed, flow, count, length, width=1.6):
    """Strands through the mask, each following flow(x, y) -> angle in radians."""
    image = Image.new("L", (N, N), 128)
    draw = ImageDraw.Draw(image)
    rng = np.random.default_rng(seed)
    ys, xs = np.nonzero(mask > 0.5)
    if len(xs) == 0:
        return np.zeros((N, N), dtype=np.float32)
    for i in rng.integers(0, len(xs), count):
        x, y = xs[i] / SS, ys[i] / SS
        points = [(x, y)]
        for _ in range(length):
            a = flow(x, y) + rng.normal(0.0, 0.08)
            x, y = x + 3.0 * math.cos(a), y + 3.0 * math.sin(a)
            points.append((x, y))
        draw.line(scaled(points), fill=int(rng.integers(40, 230)), width=max(1, round(width * SS)))
    return (np.asarray(image, dtype=np.float32) - 128.0) / 128.0
