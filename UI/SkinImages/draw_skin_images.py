#!/usr/bin/python3
"""Draws the skin images of both programs into a folder, by name.

    draw_skin_images.py --out FOLDER NAME.png [NAME.png ...]

Every image is drawn at four times its size and then reduced, which gives smooth, anti-aliased
edges without a vector renderer. Backgrounds are transparent: the windows' white shows through.
The style is flat: one accent blue, quiet greys, rounded ends. The output is the same bytes on
every run, so the archive packed from it is too.
"""

import argparse
import math
import os
import sys

try:
    from PIL import Image, ImageDraw
except ImportError:
    sys.exit("draw_skin_images: PIL is missing (Debian package python3-pil, installed by scripts/setup.sh)")

SCALE = 4

ACCENT = (0x18, 0x83, 0xD7)       # the skins' window border and hot text
GLYPH_GREY = (0x50, 0x50, 0x50)
CLOSE_HOT = (0xE8, 0x11, 0x23)
CLOSE_PUSHED = (0xF1, 0x70, 0x7A)
WHITE = (0xFF, 0xFF, 0xFF)
SUCCESS = (0x1E, 0x9E, 0x4A)
WARNING = (0xF2, 0xA9, 0x00)
ERROR = (0xE0, 0x2D, 0x36)
DISC = (0xEE, 0xF5, 0xFC)          # the soft plate behind every fingerprint picture
RIDGE_IDLE = (0xB4, 0xC2, 0xD0)    # ridges not captured yet
RING_TRACK = (0xDD, 0xE5, 0xED)

ENROLL_STEPS = 12  # png_reg_fingerprint_1.png .. _12.png


class Canvas:
    """An RGBA picture drawn at SCALE times its size; coordinates are in final pixels."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.image = Image.new("RGBA", (width * SCALE, height * SCALE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _box(x0, y0, x1, y1):
        return [round(x0 * SCALE), round(y0 * SCALE), round(x1 * SCALE) - 1, round(y1 * SCALE) - 1]

    def circle(self, cx, cy, r, colour):
        self.draw.ellipse(self._box(cx - r, cy - r, cx + r, cy + r), fill=colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        self.draw.rounded_rectangle(self._box(x0, y0, x1, y1), radius * SCALE, fill=colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.draw.rectangle(self._box(x0, y0, x1, y1), fill=colour)

    def polygon(self, points, colour):
        self.draw.polygon([(x * SCALE, y * SCALE) for x, y in points], fill=colour)

    def stroke(self, points, width, colour):
        """A polyline with round joins and round caps."""
        scaled = [(x * SCALE, y * SCALE) for x, y in points]
        self.draw.line(scaled, fill=colour, width=max(1, round(width * SCALE)), joint="curve")
        for x, y in (scaled[0], scaled[-1]):
            r = width * SCALE / 2
            self.draw.ellipse([x - r, y - r, x + r, y + r], fill=colour)

    def arc(self, cx, cy, r, start, end, width, colour, round_caps=True):
        """An arc of radius r (to the stroke's middle), angles in degrees clockwise from 3 o'clock."""
        outer = r + width / 2
        self.draw.arc(self._box(cx - outer, cy - outer, cx + outer, cy + outer), start, end,
                      fill=colour, width=max(1, round(width * SCALE)))
        if round_caps:
            for angle in (start, end):
                a = math.radians(angle)
                self.circle(cx + r * math.cos(a), cy + r * math.sin(a), width / 2, colour)

    def paste(self, picture, x, y):
        """Lays a finished (full-size) picture over this canvas at final-pixel position x, y."""
        big = picture.resize((picture.width * SCALE, picture.height * SCALE), Image.NEAREST)
        self.image.alpha_composite(big, (round(x * SCALE), round(y * SCALE)))

    def finish(self):
        # Reduced with premultiplied alpha, so that edges over transparency keep their colour.
        small = self.image.convert("RGBa").resize((self.width, self.height), Image.BOX)
        return small.convert("RGBA")


# --- The close button: a thin cross, grey at rest, white on red when hot or pressed. ---

def close_button(background, cross):
    c = Canvas(48, 32)
    if background is not None:
        c.rect(0, 0, 48, 32, background + (255,))
    half = 5.0
    cx, cy = 24.0, 16.0
    c.stroke([(cx - half, cy - half), (cx + half, cy + half)], 1.3, cross + (255,))
    c.stroke([(cx - half, cy + half), (cx + half, cy - half)], 1.3, cross + (255,))
    return c.finish()


# --- Fingerprint pictures (160 x 160). ---
#
# The print is a loop pattern: ridges are the level lines of the distance to a short ray that runs
# down from the core, so they arch over the core and run down on both sides of it, gently warped,
# broken in a few places like real ridges, and clipped to a fingertip outline with tapered ends.

PRINT_SIZE = 160
PRINT_CENTRE = (80.0, 82.0)
PRINT_UNIT = 50.0            # pixels per unit of the print's own coordinates
RIDGE_SPACING = 0.132        # in print units: about 6.6 px from ridge to ridge
RIDGE_HALF_WIDTH = 1.35      # px
CORE = (0.0, -0.12)
OUTLINE = (0.80, 1.02)       # fingertip half width and half height, in print units
LEG_SPREAD = 0.22
# Where ridges break: (ridge number, angle over the core in degrees or None for the legs, leg side,
# distance down the leg).
RIDGE_BREAKS = [
    (2, None, -1, 0.30), (3, 58, 0, 0), (4, 150, 0, 0), (5, None, 1, 0.18), (6, 95, 0, 0),
    (7, None, -1, 0.55), (8, 30, 0, 0), (9, 128, 0, 0), (5, 15, 0, 0), (10, 75, 0, 0),
]
BREAK_RADIUS = 0.07


def _print_coordinates(x, y):
    """Final-pixel position to warped print coordinates."""
    u = (x - PRINT_CENTRE[0]) / PRINT_UNIT
    v = (y - PRINT_CENTRE[1]) / PRINT_UNIT
    angle = math.radians(-7.0)
    u, v = u * math.cos(angle) - v * math.sin(angle), u * math.sin(angle) + v * math.cos(angle)
    u += 0.035 * math.sin(3.1 * v + 0.6)
    v += 0.025 * math.sin(2.7 * u + 1.3)
    return u, v


def _break_points():
    points = []
    for ridge, angle, side, down in RIDGE_BREAKS:
        r = ridge * RIDGE_SPACING
        if angle is None:
            points.append((CORE[0] + side * r, CORE[1] + down))
        else:
            a = math.radians(angle)
            points.append((CORE[0] + r * math.cos(a), CORE[1] - r * math.sin(a)))
    return points


def _smooth(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def fingerprint_ridges():
    """The ridge coverage (mode "L", full size) and each pixel's distance from the core, which
    the enrollment pictures use to fill the print from its centre to its edges."""
    n = PRINT_SIZE * SCALE
    breaks = _break_points()
    cover = bytearray(n * n)
    spacing_px = RIDGE_SPACING * PRINT_UNIT
    for j in range(n):
        y = (j + 0.5) / SCALE
        row = j * n
        for i in range(n):
            x = (i + 0.5) / SCALE
            u, v = _print_coordinates(x, y)
            ex, ey = u / OUTLINE[0], v / OUTLINE[1]
            # A fingertip: round at the top, straighter sides, cut off at the bottom.
            inside = ex * ex + (ey * ey if ey < 0 else ey * ey * ey * ey)
            if inside >= 1.0:
                continue
            du, dv = u - CORE[0], v - CORE[1]
            if dv > 0:
                du /= 1.0 + LEG_SPREAD * dv  # the legs part slightly towards the finger's base
            phi = math.sqrt(du * du + (dv * dv if dv < 0 else 0.0))
            t = phi / RIDGE_SPACING
            dist = abs(t - round(t)) * spacing_px
            c = (RIDGE_HALF_WIDTH - dist) * SCALE + 0.5
            if c <= 0:
                continue
            c = min(1.0, c)
            # Ridges taper out towards the outline instead of being cut.
            c *= 1.0 - _smooth(0.86, 1.0, inside)
            for bu, bv in breaks:
                d = math.hypot(u - bu, v - bv)
                if d < BREAK_RADIUS * 1.6:
                    c *= _smooth(BREAK_RADIUS * 0.9, BREAK_RADIUS * 1.6, d)
            cover[row + i] = round(255 * c)
    big = Image.frombytes("L", (n, n), bytes(cover))
    ridges = big.resize((PRINT_SIZE, PRINT_SIZE), Image.BOX)

    reach = []
    for j in range(PRINT_SIZE):
        for i in range(PRINT_SIZE):
            u, v = _print_coordinates(i + 0.5, j + 0.5)
            du, dv = (u - CORE[0]) / OUTLINE[0], (v - CORE[1]) / OUTLINE[1]
            reach.append(math.hypot(du, dv))
    return ridges, reach


def _colour_ridges(ridges, reach, filled):
    """Ridges in the accent blue where their reach from the core is below `filled` (0 none, 1 all),
    in idle grey elsewhere, with a soft front between the two."""
    out = Image.new("RGBA", ridges.size, (0, 0, 0, 0))
    pixels = out.load()
    cover = ridges.load()
    front = 0.06
    limit = filled * 1.08  # a full fill reaches the outermost ridge ends too
    for j in range(ridges.height):
        for i in range(ridges.width):
            a = cover[i, j]
            if a == 0:
                continue
            r = reach[j * ridges.width + i]
            blue = 1.0 - _smooth(limit - front, limit + front, r) if filled > 0 else 0.0
            colour = tuple(round(g + (b - g) * blue) for g, b in zip(RIDGE_IDLE, ACCENT))
            pixels[i, j] = colour + (a,)
    return out


def _print_plate(progress=None, ring_colour=ACCENT):
    """The soft plate, and, with a progress from 0 to 1, a ring around it that fills clockwise."""
    c = Canvas(PRINT_SIZE, PRINT_SIZE)
    c.circle(80, 80, 68, DISC + (255,))
    if progress is not None:
        c.arc(80, 80, 75, 0, 360, 3.5, RING_TRACK + (255,), round_caps=False)
        if progress >= 1.0:
            c.arc(80, 80, 75, 0, 360, 3.5, ring_colour + (255,), round_caps=False)
        elif progress > 0:
            c.arc(80, 80, 75, -90, -90 + 360 * progress, 3.5, ring_colour + (255,))
    return c


def _badge(c, colour, glyph):
    """A round badge at the lower right, ringed in white so that it stands off the print."""
    cx, cy = 122.0, 122.0
    c.circle(cx, cy, 20, WHITE + (255,))
    c.circle(cx, cy, 16.5, colour + (255,))
    if glyph == "plus":
        c.stroke([(cx - 7, cy), (cx + 7, cy)], 3.0, WHITE + (255,))
        c.stroke([(cx, cy - 7), (cx, cy + 7)], 3.0, WHITE + (255,))
    elif glyph == "check":
        c.stroke([(cx - 7.5, cy + 0.5), (cx - 2.5, cy + 5.5), (cx + 7.5, cy - 5)], 3.0, WHITE + (255,))


class FingerprintArt:
    def __init__(self):
        self.ridges, self.reach = fingerprint_ridges()

    def add(self):
        """The resting picture: a blue print with a plus badge."""
        c = _print_plate()
        c.paste(_colour_ridges(self.ridges, self.reach, 1.0), 0, 0)
        _badge(c, ACCENT, "plus")
        return c.finish()

    def waiting(self):
        """The first touch is awaited: a grey print inside an empty progress ring."""
        c = _print_plate(progress=0.0)
        c.paste(_colour_ridges(self.ridges, self.reach, 0.0), 0, 0)
        return c.finish()

    def step(self, n):
        """Enrollment step n of ENROLL_STEPS: the print fills from its core to its edges."""
        share = n / ENROLL_STEPS
        c = _print_plate(progress=share)
        c.paste(_colour_ridges(self.ridges, self.reach, share), 0, 0)
        return c.finish()

    def passed(self):
        """Enrollment complete: the whole print in blue, a full ring and a green check."""
        c = _print_plate(progress=1.0, ring_colour=SUCCESS)
        c.paste(_colour_ridges(self.ridges, self.reach, 1.0), 0, 0)
        _badge(c, SUCCESS, "check")
        return c.finish()


# --- Small pictures. ---

def status_dot(colour):
    """The blink indicator: a dot with a soft halo."""
    c = Canvas(20, 20)
    c.circle(10, 10, 9.5, colour + (60,))
    c.circle(10, 10, 7, colour + (255,))
    return c.finish()


def pin_button():
    """The PIN picture beside the entry: a padlock on the accent tile, the keyhole cut out."""
    c = Canvas(48, 48)
    c.rounded_rect(0, 0, 48, 48, 11, ACCENT + (255,))
    c.arc(24, 20, 7.5, 180, 360, 3.6, WHITE + (255,), round_caps=False)
    c.rect(16.5 - 1.8, 19.5, 16.5 + 1.8, 23, WHITE + (255,))
    c.rect(31.5 - 1.8, 19.5, 31.5 + 1.8, 23, WHITE + (255,))
    c.rounded_rect(12, 22, 36, 38, 3, WHITE + (255,))
    c.circle(24, 28.5, 2.6, ACCENT + (255,))
    c.rounded_rect(22.8, 28.5, 25.2, 34, 1.2, ACCENT + (255,))
    return c.finish()


def logo():
    """The product mark: the accent tile with a small loop print, nested arches over open legs."""
    c = Canvas(32, 32)
    c.rounded_rect(0, 0, 32, 32, 7.5, ACCENT + (255,))
    cx, cy = 16.0, 14.5
    white = WHITE + (255,)
    width = 1.8
    for r, left_leg, right_leg in ((3.2, 9.0, 6.0), (6.6, 10.5, 9.0), (10.0, 7.0, 8.5)):
        c.arc(cx, cy, r, 180, 360, width, white, round_caps=False)
        c.stroke([(cx - r, cy), (cx - r, cy + left_leg)], width, white)
        c.stroke([(cx + r, cy), (cx + r, cy + right_leg)], width, white)
    c.stroke([(cx, cy + 1.5), (cx, cy + 10.0)], width, white)
    return c.finish()


def message_error():
    c = Canvas(32, 32)
    c.circle(16, 16, 15, ERROR + (255,))
    c.stroke([(11, 11), (21, 21)], 2.6, WHITE + (255,))
    c.stroke([(11, 21), (21, 11)], 2.6, WHITE + (255,))
    return c.finish()


def message_warning():
    c = Canvas(32, 32)
    # A triangle with rounded corners: the corners' hull, outlined with a round-joined stroke.
    r = 2.2
    corners = [(16, 3.0 + r), (30.0 - r, 28.0 - r), (2.0 + r, 28.0 - r)]
    c.polygon(corners, WARNING + (255,))
    c.stroke(corners + [corners[0]], 2 * r, WARNING + (255,))
    c.stroke([(16, 11.5), (16, 18.5)], 2.6, WHITE + (255,))
    c.circle(16, 22.8, 1.6, WHITE + (255,))
    return c.finish()


def message_info():
    c = Canvas(32, 32)
    c.circle(16, 16, 15, ACCENT + (255,))
    c.circle(16, 9.5, 1.8, WHITE + (255,))
    c.stroke([(16, 14), (16, 23)], 2.8, WHITE + (255,))
    return c.finish()


def drawers():
    art = []  # the fingerprint ridges are computed once, on first use

    def fingerprint():
        if not art:
            art.append(FingerprintArt())
        return art[0]

    table = {
        "Close_Active.png": lambda: close_button(None, GLYPH_GREY),
        "Close_MouseOver.png": lambda: close_button(CLOSE_HOT, WHITE),
        "Close_Click.png": lambda: close_button(CLOSE_PUSHED, WHITE),
        "Rec_Finger_Add.png": lambda: fingerprint().add(),
        "Rec_Finger_1.png": lambda: fingerprint().waiting(),
        "Pass.png": lambda: fingerprint().passed(),
        "green.png": lambda: status_dot(SUCCESS),
        "red.png": lambda: status_dot(ERROR),
        "PIN_Button.png": pin_button,
        "logo_32.png": logo,
        "Png_Msg_error.png": message_error,
        "Png_Msg_warning.png": message_warning,
        "Png_Msg_info.png": message_info,
    }
    for n in range(1, ENROLL_STEPS + 1):
        table["png_reg_fingerprint_%d.png" % n] = (lambda n=n: fingerprint().step(n))
    return table


def main(argv):
    parser = argparse.ArgumentParser(description="Draws skin images by name.")
    parser.add_argument("--out", required=True, help="folder the images are written to")
    parser.add_argument("names", nargs="+", help="image file names")
    args = parser.parse_args(argv)

    table = drawers()
    unknown = [name for name in args.names if name not in table]
    if unknown:
        print("draw_skin_images: no drawing for " + ", ".join(unknown), file=sys.stderr)
        return 2
    os.makedirs(args.out, exist_ok=True)
    for name in args.names:
        path = os.path.join(args.out, name)
        partial = path + ".part"
        table[name]().save(partial, "PNG", optimize=True)
        os.replace(partial, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
