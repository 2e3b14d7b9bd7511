#!/usr/bin/env python3
"""Build the pictures and icons of the Zelto Control Center resource library.

Run with a Python 3 that has Pillow (9.x or later):

    python3 make_art.py [output-dir]

Everything is written next to this script unless another directory is given.
The output is fully deterministic: the drawings use no randomness and the
files carry no timestamps, so re-running the script reproduces the same bytes
and the resource build stays reproducible.

Outputs
  zqbg.bmp, vqbg.bmp            480x300 home-window backgrounds (8-bit)
  zqbg_jap.bmp, vqbg_jap.bmp    the same without Latin text, for CJK Windows
  <caption>{u,d,f,x}.bmp        120x26 picture buttons (up/down/focus/disabled)
  zelto.ico, msgnew.ico, msgseen.ico   32x32 + 16x16 icons

The bitmaps are 8-bit palettized because the host may run the console in a
256-colour display mode; the icons carry both a 256-colour image with a
1-bit mask (understood by every Windows version) and a 32-bit image with
alpha for shells that can blend it.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
REGULAR = os.path.join(FONT_DIR, "DejaVuSans.ttf")
CONDENSED_BOLD = os.path.join(FONT_DIR, "DejaVuSansCondensed-Bold.ttf")

BG_SIZE = (480, 300)
BUTTON_SIZE = (120, 26)

# Supersampling factor for the drawn illustrations; the box filter used when
# scaling back down gives clean anti-aliased edges.
SS = 4

# Screen regions of the home window that are covered by picture buttons.
# The illustration has to stay out of (or very faint behind) these.
CALM_STRIP_RIGHT = 170          # left button column sits at x=25..145
ART_LEFT, ART_RIGHT = 178, 324  # free space between the button groups
# The maker's name: under the left button column, which ends higher in both
# layouts (the marked one moves its three buttons up), whereas the right
# column reaches down to the bottom edge and, with a narrower dialog font,
# over the free space. Kept off the last rows too: under Wine the frame
# covers the bottom few rows of the view.
MAKER_ORIGIN = (25, 284)        # left end of the baseline


def font(path, size):
    return ImageFont.truetype(path, size)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c1, c2))


def with_alpha(rgb, a):
    return tuple(rgb) + (int(a),)


# ---------------------------------------------------------------------------
# Supersampled drawing surface
# ---------------------------------------------------------------------------

class Sketch:
    """RGBA layer addressed in final-pixel coordinates, drawn at SSx size."""

    def __init__(self, size, scale=SS):
        self.size = size
        self.s = scale
        self.img = Image.new("RGBA", (size[0] * scale, size[1] * scale),
                             (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def _p(self, pts):
        return [(x * self.s, y * self.s) for x, y in pts]

    def _box(self, box):
        x0, y0, x1, y1 = box
        return [x0 * self.s, y0 * self.s, x1 * self.s - 1, y1 * self.s - 1]

    def _w(self, w):
        return max(1, int(round(w * self.s)))

    def rect(self, box, fill=None, outline=None, width=1.0, radius=0):
        if radius:
            self.d.rounded_rectangle(self._box(box), radius=radius * self.s,
                                     fill=fill, outline=outline,
                                     width=self._w(width) if outline else 0)
        else:
            self.d.rectangle(self._box(box), fill=fill, outline=outline,
                             width=self._w(width) if outline else 0)

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        self.d.ellipse(self._box(box), fill=fill, outline=outline,
                       width=self._w(width) if outline else 0)

    def poly(self, pts, fill=None, outline=None, width=1.0):
        if fill is not None:
            self.d.polygon(self._p(pts), fill=fill)
        if outline is not None:
            self.line(list(pts) + [pts[0]], outline, width)

    def line(self, pts, fill, width=1.0):
        self.d.line(self._p(pts), fill=fill, width=self._w(width),
                    joint="curve")
        # Round caps so thick strokes do not end in ragged squares.
        r = width / 2.0
        if width >= 1.5:
            for x, y in (pts[0], pts[-1]):
                self.ellipse((x - r, y - r, x + r, y + r), fill=fill)

    def arc(self, box, start, end, fill, width=1.0):
        self.d.arc(self._box(box), start, end, fill=fill, width=self._w(width))

    def text(self, xy, s, fnt_path, size, fill, anchor="la"):
        f = font(fnt_path, int(round(size * self.s)))
        self.d.text((xy[0] * self.s, xy[1] * self.s), s, font=f, fill=fill,
                    anchor=anchor)

    def paste_layer(self, layer, xy):
        """Alpha-composite another supersampled RGBA layer at xy (final px)."""
        self.img.alpha_composite(layer, (int(xy[0] * self.s),
                                         int(xy[1] * self.s)))

    def result(self):
        return self.img.reduce(self.s)


def bezier(p0, p1, p2, p3, steps=40):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0]
                    + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1]
                    + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


def rotate_layer(img, degrees):
    """Rotate an RGBA image without dark fringes (premultiplied)."""
    pm = img.convert("RGBa")
    pm = pm.rotate(degrees, resample=Image.Resampling.BICUBIC, expand=True)
    return pm.convert("RGBA")


# ---------------------------------------------------------------------------
# Backgrounds
# ---------------------------------------------------------------------------

THEMES = {
    # Standard systems: calm blue.
    "zq": {
        "stops": [(14, 36, 84), (34, 84, 152), (62, 138, 192)],
        "glow": (170, 215, 255),
        "cable": (120, 190, 255),
        "cable_edge": (22, 48, 92),
        "screen": [(0, 118, 128), (36, 92, 170), (0, 118, 128), (36, 92, 170)],
        "tagline": (190, 220, 255),
        "rule": (150, 200, 255),
        "board": False,
    },
    # Systems with the advanced adapter boards: teal/green, plus a board.
    "vq": {
        "stops": [(8, 48, 52), (18, 104, 96), (60, 160, 132)],
        "glow": (180, 255, 220),
        "cable": (110, 230, 170),
        "cable_edge": (12, 60, 48),
        "screen": [(0, 120, 110), (30, 128, 80), (0, 120, 110), (30, 128, 80)],
        "tagline": (190, 245, 220),
        "rule": (140, 235, 190),
        "board": True,
    },
}

CASE = (232, 228, 214)        # late-90s beige plastic
CASE_SIDE = (190, 186, 170)
CASE_TOP = (246, 243, 232)
CASE_EDGE = (84, 82, 74)
KEY_FACE = (218, 214, 200)


def gradient_background(stops):
    """Diagonal three-stop gradient, darker at the top left.

    Computed per pixel in floating point so the only banding left is what
    the 256-colour palette introduces.
    """
    w, h = BG_SIZE
    img = Image.new("RGB", BG_SIZE)
    data = []
    c0, c1, c2 = stops
    for y in range(h):
        for x in range(w):
            t = (0.62 * x / w + 0.38 * y / h)
            if t < 0.5:
                c = mix(c0, c1, t / 0.5)
            else:
                c = mix(c1, c2, (t - 0.5) / 0.5)
            data.append(c)
    img.putdata(data)
    return img


def calm_strip_mask():
    """L mask that is 0 over the button column and ramps up to 255 after it,
    so nothing decorative ever reaches the calm strip."""
    w, h = BG_SIZE
    ramp_start, ramp_end = CALM_STRIP_RIGHT + 6, CALM_STRIP_RIGHT + 40
    row = []
    for x in range(w):
        if x <= ramp_start:
            row.append(0)
        elif x >= ramp_end:
            row.append(255)
        else:
            row.append(int(255 * (x - ramp_start) / (ramp_end - ramp_start)))
    strip = Image.new("L", (w, 1))
    strip.putdata(row)
    return strip.resize(BG_SIZE, Image.Resampling.NEAREST)


def glow_layer(theme, centre):
    w, h = BG_SIZE
    mask = Image.new("L", BG_SIZE, 0)
    d = ImageDraw.Draw(mask)
    cx, cy = centre
    d.ellipse((cx - 70, cy - 95, cx + 70, cy + 85), fill=70)
    mask = mask.filter(ImageFilter.GaussianBlur(34))
    mask = ImageChops.multiply(mask, calm_strip_mask())
    layer = Image.new("RGBA", BG_SIZE, with_alpha(theme["glow"], 0))
    layer.putalpha(mask)
    return layer


def ripple_layer(theme, centre):
    """Faint concentric arcs spreading from the host: the 'one PC feeds many
    stations' idea, kept very light so buttons drawn over them stay clean."""
    sk = Sketch(BG_SIZE)
    cx, cy = centre
    for i, r in enumerate((96, 128, 162, 200, 242, 288)):
        a = 26 - i * 3
        sk.arc((cx - r, cy - r * 0.78, cx + r, cy + r * 0.78), 200, 360,
               fill=with_alpha(theme["glow"], a), width=1.0)
    layer = sk.result()
    alpha = ImageChops.multiply(layer.getchannel("A"), calm_strip_mask())
    layer.putalpha(alpha)
    return layer


def shadow_layer(ellipses, blur=3.0, strength=90):
    mask = Image.new("L", BG_SIZE, 0)
    d = ImageDraw.Draw(mask)
    for box in ellipses:
        d.ellipse(box, fill=strength)
    mask = mask.filter(ImageFilter.GaussianBlur(blur))
    layer = Image.new("RGBA", BG_SIZE, (0, 10, 30, 0))
    layer.putalpha(mask)
    return layer


def draw_station(sk, cx, top, screen_colour):
    """Small CRT monitor on a stand with a keyboard in front of it.
    Occupies roughly cx-18..cx+18, top..top+41."""
    # Monitor casing with a slightly darker lower lip for depth.
    sk.rect((cx - 17, top, cx + 17, top + 26), fill=CASE, outline=CASE_EDGE,
            width=0.8, radius=3)
    sk.rect((cx - 16, top + 22, cx + 16, top + 25.5), fill=(214, 210, 194),
            radius=1.5)
    # Screen bezel and picture: a tiny desktop with a taskbar and a window.
    sk.rect((cx - 14, top + 3, cx + 14, top + 21), fill=(52, 56, 60),
            radius=2)
    sx0, sy0, sx1, sy1 = cx - 12.5, top + 4.5, cx + 12.5, top + 19.5
    sk.rect((sx0, sy0, sx1, sy1), fill=screen_colour, radius=1)
    sk.rect((sx0, sy1 - 2.5, sx1, sy1), fill=(196, 196, 196))
    sk.rect((sx0 + 0.5, sy1 - 2.1, sx0 + 4, sy1 - 0.4), fill=(150, 150, 150))
    sk.rect((cx - 8, top + 7, cx + 6, top + 15), fill=(236, 236, 236),
            outline=(40, 40, 40), width=0.4)
    sk.rect((cx - 8, top + 7, cx + 6, top + 9), fill=(16, 32, 132))
    # Glass reflection, pre-blended so the layer stays opaque here.
    sk.poly([(sx0 + 1, sy0 + 0.5), (sx0 + 8, sy0 + 0.5), (sx0 + 1, sy0 + 6)],
            fill=mix(screen_colour, (255, 255, 255), 0.28))
    # Power lamp.
    sk.ellipse((cx + 12, top + 22.6, cx + 14, top + 24.6), fill=(60, 220, 90))
    # Stand and foot.
    sk.poly([(cx - 6, top + 26), (cx + 6, top + 26), (cx + 8, top + 30),
             (cx - 8, top + 30)], fill=CASE_SIDE, outline=CASE_EDGE,
            width=0.6)
    sk.rect((cx - 12, top + 29.5, cx + 12, top + 32), fill=CASE,
            outline=CASE_EDGE, width=0.6, radius=1.2)
    # Keyboard in light perspective.
    ky = top + 34
    sk.poly([(cx - 14, ky), (cx + 14, ky), (cx + 17.5, ky + 6.5),
             (cx - 17.5, ky + 6.5)], fill=KEY_FACE, outline=CASE_EDGE,
            width=0.6)
    sk.poly([(cx - 17.5, ky + 6.5), (cx + 17.5, ky + 6.5),
             (cx + 17.5, ky + 7.6), (cx - 17.5, ky + 7.6)], fill=CASE_SIDE)
    for row in range(3):
        y = ky + 1.3 + row * 1.7
        inset = 13.2 + row * 0.9
        x = cx - inset
        while x < cx + inset - 1.0:
            sk.rect((x, y, x + 1.3, y + 1.0), fill=(150, 146, 132))
            x += 1.9
    sk.rect((cx - 6, ky + 5.3, cx + 6, ky + 6.1), fill=(150, 146, 132))


def draw_host(sk, x, y):
    """Mini-tower seen slightly from the right. Front face is x..x+32,
    y..y+74; the side face adds 11 px of depth."""
    w, h, dx, dy = 32, 74, 11, -6
    # Top and side faces.
    sk.poly([(x, y), (x + w, y), (x + w + dx, y + dy), (x + dx, y + dy)],
            fill=CASE_TOP, outline=CASE_EDGE, width=0.8)
    sk.poly([(x + w, y), (x + w + dx, y + dy), (x + w + dx, y + h + dy),
             (x + w, y + h)], fill=CASE_SIDE, outline=CASE_EDGE, width=0.8)
    for i in range(5):
        vy = y + 46 + i * 3
        sk.line([(x + w + 3, vy), (x + w + dx - 3, vy - 4)],
                fill=(160, 156, 140), width=0.8)
    # Front face.
    sk.rect((x, y, x + w, y + h), fill=CASE, outline=CASE_EDGE, width=0.8)
    sk.rect((x + 1, y + h - 5, x + w - 1, y + h - 1), fill=(212, 208, 192))
    # Two 5.25" bays and a 3.5" floppy.
    for i in range(2):
        by = y + 6 + i * 8
        sk.rect((x + 4, by, x + w - 4, by + 6), fill=(222, 218, 202),
                outline=(120, 116, 104), width=0.6)
        sk.rect((x + 7, by + 2.6, x + w - 7, by + 3.4), fill=(90, 88, 80))
    sk.rect((x + 8, y + 24, x + w - 4, y + 29), fill=(222, 218, 202),
            outline=(120, 116, 104), width=0.6)
    sk.rect((x + 10, y + 26.1, x + w - 10, y + 26.9), fill=(40, 40, 40))
    sk.rect((x + w - 8.5, y + 27.2, x + w - 6, y + 28.3), fill=(120, 116, 104))
    # Badge, lamps and power button.
    sk.rect((x + 5, y + 36, x + 14, y + 39), fill=(70, 90, 150), radius=0.8)
    sk.ellipse((x + 5, y + 46, x + 8, y + 49), fill=(60, 220, 90))
    sk.ellipse((x + 10, y + 46, x + 13, y + 49), fill=(250, 180, 40))
    sk.ellipse((x + w - 13, y + 43, x + w - 5, y + 51), fill=(206, 202, 186),
               outline=(110, 106, 94), width=0.7)
    # Ventilation slots near the bottom.
    for i in range(4):
        vy = y + 57 + i * 3
        sk.rect((x + 6, vy, x + w - 6, vy + 1), fill=(168, 164, 148))


def draw_adapter_board(scale=SS):
    """The multi-head adapter board: green PCB, gold edge fingers, chips and
    a bracket carrying four station connectors. Returned as a supersampled
    RGBA layer, unrotated, about 72x42 final pixels."""
    sk = Sketch((74, 44), scale)
    pcb, pcb_edge = (22, 128, 74), (8, 64, 36)
    # Board outline with the usual notch in front of the edge connector.
    sk.poly([(2, 4), (62, 4), (62, 32), (48, 32), (48, 35), (14, 35),
             (14, 32), (2, 32)], fill=pcb, outline=pcb_edge, width=0.8)
    # Traces.
    trace = (70, 170, 110)
    for i in range(5):
        ty = 9 + i * 4
        sk.line([(5, ty), (12, ty), (15, ty + 2), (22, ty + 2)], fill=trace,
                width=0.5)
    for i in range(6):
        tx = 18 + i * 5
        sk.line([(tx, 31), (tx, 26), (tx + 2, 24)], fill=trace, width=0.5)
    # Gold fingers.
    fx = 15.0
    while fx < 47.5:
        sk.rect((fx, 32, fx + 1.2, 38), fill=(232, 190, 60))
        fx += 2.0
    # Main chip with a heat sink look, and two memory chips.
    sk.rect((24, 8, 40, 23), fill=(30, 32, 36), outline=(10, 10, 12),
            width=0.5)
    for i in range(6):
        sk.rect((25.5 + i * 2.4, 9.5, 26.7 + i * 2.4, 21.5),
                fill=(70, 74, 80))
    for px in range(3):
        bx = 43 + px * 6
        sk.rect((bx, 10, bx + 4.2, 18), fill=(28, 28, 32))
        for k in range(4):
            sk.rect((bx - 0.8, 10.8 + k * 1.9, bx, 11.6 + k * 1.9),
                    fill=(200, 200, 200))
            sk.rect((bx + 4.2, 10.8 + k * 1.9, bx + 5.0, 11.6 + k * 1.9),
                    fill=(200, 200, 200))
    for k in range(3):
        sk.ellipse((8 + k * 4, 25, 10.4 + k * 4, 27.4), fill=(40, 70, 160),
                   outline=(200, 200, 210), width=0.4)
    # Metal bracket with four D-sub station connectors.
    sk.rect((62, 0, 67, 42), fill=(196, 200, 206), outline=(80, 84, 90),
            width=0.7)
    sk.rect((63, 40, 70, 43), fill=(170, 174, 180), outline=(80, 84, 90),
            width=0.5)
    for i in range(4):
        py = 4 + i * 8.6
        sk.poly([(63.2, py), (66.2, py + 0.8), (66.2, py + 5.2),
                 (63.2, py + 6.0)], fill=(40, 80, 170),
                outline=(16, 30, 70), width=0.4)
    return sk.img


def draw_illustration(theme, host_x, host_y, stations, board_box):
    """Return the 1x RGBA illustration layer (shadows, cables, machines)."""
    sk = Sketch(BG_SIZE)
    host_cable_x = host_x + 38       # rear of the side panel
    shadows = [(host_x - 8, host_y + 68, host_x + 50, host_y + 82)]

    for cx, _ in stations:
        # A station drifting under a button would make the button unreadable.
        assert ART_LEFT <= cx - 18 and cx + 18 <= ART_RIGHT, cx

    # Cables first so the machines sit on top of them.
    for i, (cx, top) in enumerate(stations):
        start = (host_cable_x, host_y + 10 + i * 3.0)
        end = (cx, top + 31)
        c1 = (start[0] + (8 if cx > host_x + 20 else -4), start[1] - 26)
        c2 = (end[0], end[1] + 26)
        pts = bezier(start, c1, c2, end)
        sk.line(pts, fill=theme["cable_edge"], width=2.4)
        sk.line(pts, fill=theme["cable"], width=1.2)
        shadows.append((cx - 20, top + 38, cx + 20, top + 45))

    for i, (cx, top) in enumerate(stations):
        draw_station(sk, cx, top, theme["screen"][i % len(theme["screen"])])
    draw_host(sk, host_x, host_y)

    if board_box is not None:
        bx, by, angle = board_box
        board = rotate_layer(draw_adapter_board(), angle)
        sk.paste_layer(board, (bx, by))
        shadows.append((bx + 6, by + 42, bx + 70, by + 52))
        # Dotted arrow: the board goes into the host.
        pts = bezier((bx + 56, by + 8), (bx + 66, by - 14),
                     (host_x - 14, host_y + 24), (host_x - 3, host_y + 34), 60)
        for k in range(0, len(pts) - 6, 5):
            sk.line(pts[k:k + 3], fill=(240, 250, 255, 200), width=1.3)
        ax, ay = pts[-1]
        sk.poly([(ax + 1, ay + 1), (ax - 6, ay - 1.5), (ax - 2.5, ay - 6)],
                fill=(240, 250, 255, 220))

    return sk.result(), shadows


def text_with_shadow(base, xy, s, fnt, fill, anchor="ra", blur=1.6,
                     shadow_alpha=150, offset=(1, 2)):
    shadow = Image.new("L", BG_SIZE, 0)
    ImageDraw.Draw(shadow).text((xy[0] + offset[0], xy[1] + offset[1]), s,
                                font=fnt, fill=shadow_alpha, anchor=anchor)
    shadow = shadow.filter(ImageFilter.GaussianBlur(blur))
    dark = Image.new("RGBA", BG_SIZE, (0, 8, 24, 0))
    dark.putalpha(shadow)
    base.alpha_composite(dark)
    ImageDraw.Draw(base).text(xy, s, font=fnt, fill=fill, anchor=anchor)


def make_background(theme_key, with_text):
    theme = THEMES[theme_key]
    img = gradient_background(theme["stops"]).convert("RGBA")

    if theme["board"]:
        host_x, host_y = 258, 168
        board_box = (178, 204, 12)
    else:
        host_x, host_y = 236, 176
        board_box = None
    # Four stations fanned out in an arc above the host.
    stations = [(200, 130), (234, 88), (276, 88), (306, 130)]
    if theme["board"]:
        stations = [(200, 112), (236, 76), (278, 76), (306, 118)]
    centre = (host_x + 18, host_y + 20)

    img.alpha_composite(glow_layer(theme, (centre[0], centre[1] - 30)))
    img.alpha_composite(ripple_layer(theme, centre))
    art, shadows = draw_illustration(theme, host_x, host_y, stations,
                                     board_box)
    img.alpha_composite(shadow_layer(shadows))
    img.alpha_composite(art)

    if with_text:
        title = font(BOLD, 24)
        text_with_shadow(img, (466, 12), "Zelto Control Center", title,
                         (255, 255, 255, 255))
        # Thin rule that fades in from the left under the title.
        rule = Image.new("RGBA", BG_SIZE, (0, 0, 0, 0))
        rd = ImageDraw.Draw(rule)
        x0, x1 = 236, 466
        for x in range(x0, x1 + 1):
            a = int(200 * min(1.0, (x - x0) / 120.0))
            rd.point((x, 42), fill=with_alpha(theme["rule"], a))
        img.alpha_composite(rule)
        tag = font(REGULAR, 11)
        ImageDraw.Draw(img).text((466, 47), "Multi-station administration",
                                 font=tag, fill=with_alpha(theme["tagline"],
                                                           255), anchor="ra")
        maker = font(REGULAR, 9)
        ImageDraw.Draw(img).text(MAKER_ORIGIN, "Quillon, Inc.",
                                 font=maker, fill=(255, 255, 255, 150),
                                 anchor="ls")

    rgb = img.convert("RGB")
    return rgb.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                        kmeans=2, dither=Image.Dither.NONE)


# ---------------------------------------------------------------------------
# Button pictograms (16x16, drawn at 4x)
# ---------------------------------------------------------------------------

def picto_sketch():
    return Sketch((16, 16), 4)


def picto_launch():
    sk = picto_sketch()
    sk.poly([(3.5, 1.8), (14.2, 8), (3.5, 14.2)], fill=(52, 178, 64),
            outline=(14, 84, 24), width=1.0)
    sk.poly([(4.8, 4.2), (10.5, 7.6), (4.8, 8.4)], fill=(140, 226, 140))
    return sk.result()


def picto_stop():
    sk = picto_sketch()
    sk.rect((2.5, 2.5, 13.5, 13.5), fill=(214, 44, 36),
            outline=(110, 14, 10), width=1.0, radius=1.6)
    sk.rect((4, 4, 11, 6.5), fill=(240, 120, 110), radius=1)
    return sk.result()


def picto_message():
    sk = picto_sketch()
    sk.poly([(5, 11.6), (4, 15), (8.6, 11.6)], fill=(255, 255, 255),
            outline=(30, 60, 140), width=1.0)
    sk.rect((0.8, 1.8, 15.2, 12.2), fill=(255, 255, 255),
            outline=(30, 60, 140), width=1.0, radius=3)
    sk.rect((5.2, 11.0, 8.0, 12.2), fill=(255, 255, 255))
    for k in range(3):
        x = 4.3 + k * 3.7
        sk.ellipse((x - 1.1, 5.9, x + 1.1, 8.1), fill=(30, 60, 140))
    return sk.result()


def picto_removeuser():
    sk = picto_sketch()
    edge = (30, 44, 90)
    sk.rect((0.8, 8.5, 11.2, 16.5), fill=(56, 104, 196), outline=edge,
            width=1.0, radius=4)
    sk.ellipse((2.8, 1.0, 9.2, 7.8), fill=(244, 200, 160), outline=edge,
               width=1.0)
    sk.ellipse((8.4, 7.4, 15.6, 14.6), fill=(214, 44, 36),
               outline=(110, 14, 10), width=0.9)
    sk.rect((9.8, 10.3, 14.2, 11.7), fill=(255, 255, 255))
    return sk.result()


def picto_settings():
    sk = picto_sketch()
    cx, cy = 8, 8
    pts = []
    teeth = 8
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = 7.4 if (i % 4) in (0, 1) else 5.4
        pts.append((cx + r * math.cos(a + 0.2), cy + r * math.sin(a + 0.2)))
    sk.poly(pts, fill=(96, 112, 146), outline=(28, 34, 56), width=0.9)
    sk.ellipse((cx - 4.4, cy - 4.4, cx + 4.4, cy + 4.4), fill=(150, 166, 196))
    sk.ellipse((cx - 2.2, cy - 2.2, cx + 2.2, cy + 2.2), fill=(255, 255, 255),
               outline=(28, 34, 56), width=0.9)
    return sk.result()


def picto_check():
    sk = picto_sketch()
    # Magnifier over a green tick: "look the station over".
    sk.line([(10.4, 10.4), (14.6, 14.6)], fill=(70, 50, 30), width=3.0)
    sk.ellipse((0.8, 0.8, 12.2, 12.2), fill=(214, 236, 255),
               outline=(40, 56, 90), width=1.3)
    sk.line([(3.6, 6.6), (5.8, 9.0), (9.6, 3.8)], fill=(24, 150, 40),
            width=1.8)
    return sk.result()


def picto_help():
    sk = picto_sketch()
    sk.ellipse((0.8, 0.8, 15.2, 15.2), fill=(40, 96, 200),
               outline=(16, 40, 110), width=1.0)
    sk.text((8.1, 8.6), "?", BOLD, 12.5, (255, 255, 255), anchor="mm")
    return sk.result()


def picto_exit():
    sk = picto_sketch()
    # Door frame, open door leaf, and an arrow leaving to the right.
    sk.rect((1, 1, 10, 15.5), fill=(60, 50, 40), outline=(40, 30, 20),
            width=0.8)
    sk.poly([(1.6, 1.6), (7.2, 3.2), (7.2, 16.0), (1.6, 15.0)],
            fill=(176, 112, 56), outline=(80, 46, 20), width=0.8)
    sk.ellipse((5.2, 8.6, 6.6, 10.0), fill=(250, 210, 80))
    sk.poly([(8, 6.6), (11.4, 6.6), (11.4, 3.8), (15.6, 8.2), (11.4, 12.6),
             (11.4, 9.8), (8, 9.8)], fill=(52, 178, 64),
            outline=(14, 84, 24), width=0.8)
    return sk.result()


BUTTONS = [
    ("LAUNCH", "Launch Station", picto_launch),
    ("STOP", "Stop Station", picto_stop),
    ("MESSAGE", "Send Message", picto_message),
    ("REMOVEUSER", "Remove User", picto_removeuser),
    ("SETTINGS", "Station Settings", picto_settings),
    ("CHECK", "Check Station", picto_check),
    ("HELP", "Help", picto_help),
    ("EXIT", "Exit", picto_exit),
]


# ---------------------------------------------------------------------------
# Buttons
# ---------------------------------------------------------------------------

# Face and bevel colours: Win98 3D scheme with a slight cool tint.
FACE_TOP = (232, 237, 246)
FACE_BOTTOM = (206, 214, 228)
HILIGHT = (255, 255, 255)
LIGHT = (226, 232, 242)
SHADOW = (124, 134, 158)
DKSHADOW = (36, 42, 62)
FOCUS = (24, 56, 140)
LABEL = (14, 22, 48)
GREY_TEXT = (130, 138, 156)

PICTO_X = 5
LABEL_LEFT = 23          # label is centred in LABEL_LEFT..width-4


def button_face(size):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=mix(FACE_TOP, FACE_BOTTOM,
                                              y / (h - 1)))
    return img


def bevel(d, box, tl_outer, br_outer, tl_inner, br_inner):
    x0, y0, x1, y1 = box
    d.line([(x0, y1 - 1), (x0, y0), (x1 - 1, y0)], fill=tl_outer)
    d.line([(x0, y1), (x1, y1), (x1, y0)], fill=br_outer)
    d.line([(x0 + 1, y1 - 2), (x0 + 1, y0 + 1), (x1 - 2, y0 + 1)],
           fill=tl_inner)
    d.line([(x0 + 1, y1 - 1), (x1 - 1, y1 - 1), (x1 - 1, y0 + 1)],
           fill=br_inner)


def dotted_rect(d, box, colour):
    """Alternate-pixel focus rectangle, as the system draws it."""
    x0, y0, x1, y1 = box
    for x in range(x0, x1 + 1):
        if (x - x0) % 2 == 0:
            d.point((x, y0), fill=colour)
        if (x - x0 + (y1 - y0)) % 2 == 0:
            d.point((x, y1), fill=colour)
    for y in range(y0, y1 + 1):
        if (y - y0) % 2 == 0:
            d.point((x0, y), fill=colour)
        if (y - y0 + (x1 - x0)) % 2 == 0:
            d.point((x1, y), fill=colour)


def embossed_mask(picto):
    """Mask of the pictogram's dark parts: light areas drop out, which is
    how disabled images have always been rendered on this platform."""
    lum = picto.convert("L")
    dark = lum.point(lambda v: max(0, min(255, int((215 - v) * 2.2))))
    return ImageChops.multiply(dark, picto.getchannel("A"))


LABEL_FONT = None


def label_font():
    global LABEL_FONT
    if LABEL_FONT is None:
        LABEL_FONT = font(CONDENSED_BOLD, 11)
    return LABEL_FONT


def label_origin(text, size, shift):
    f = label_font()
    w, h = size
    width = f.getlength(text)
    # Centre on the cap height so labels with and without descenders share
    # one baseline.
    top, bottom = f.getbbox("H")[1], f.getbbox("H")[3]
    cap_mid = (top + bottom) / 2.0
    area = (LABEL_LEFT, w - 4)
    x = int(round((area[0] + area[1] - width) / 2.0)) + shift
    y = int(round(h / 2.0 - cap_mid)) + shift
    return x, y


def make_button(text, picto, state):
    size = BUTTON_SIZE
    w, h = size
    img = button_face(size)
    d = ImageDraw.Draw(img)
    shift = 1 if state == "d" else 0
    box = (0, 0, w - 1, h - 1)

    if state == "d":
        # Pressed: frame plus a sunken edge, like a pushed default button.
        d.rectangle(box, outline=DKSHADOW)
        bevel(d, (1, 1, w - 2, h - 2), SHADOW, LIGHT, (182, 190, 206),
              FACE_BOTTOM)
    elif state == "f":
        d.rectangle(box, outline=FOCUS)
        bevel(d, (1, 1, w - 2, h - 2), HILIGHT, DKSHADOW, LIGHT, SHADOW)
    else:
        bevel(d, box, HILIGHT, DKSHADOW, LIGHT, SHADOW)

    py = (h - 16) // 2
    px = PICTO_X + (1 if state == "f" else 0)
    lx, ly = label_origin(text, size, shift)
    f = label_font()
    if state == "x":
        mask = embossed_mask(picto)
        img.paste(HILIGHT, (px + 1, py + 1), mask)
        img.paste(GREY_TEXT, (px, py), mask)
        d.text((lx + 1, ly + 1), text, font=f, fill=HILIGHT)
        d.text((lx, ly), text, font=f, fill=GREY_TEXT)
    else:
        img.paste(picto, (px + shift, py + shift), picto)
        d.text((lx, ly), text, font=f, fill=LABEL)

    if state == "f":
        dotted_rect(d, (3, 3, w - 4, h - 4), FOCUS)
    return img


def make_buttons():
    images = {}
    for caption, text, draw_picto in BUTTONS:
        picto = draw_picto()
        for state in "udfx":
            images[caption.lower() + state] = make_button(text, picto, state)
    # One shared palette for every button keeps them consistent with each
    # other in 256-colour mode.
    names = sorted(images)
    w, h = BUTTON_SIZE
    sheet = Image.new("RGB", (w, h * len(names)))
    for i, n in enumerate(names):
        sheet.paste(images[n], (0, i * h))
    pal = sheet.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                         kmeans=2, dither=Image.Dither.NONE)
    return {n: images[n].quantize(palette=pal, dither=Image.Dither.NONE)
            for n in names}


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

ICON_EDGE = (30, 34, 44)


ICON_SCREEN = (40, 96, 196)
ICON_GLINT = (150, 190, 250)
ICON_CABLE = (40, 200, 255)


def icon_zelto(n):
    """Host tower wired to two station monitors."""
    sk = Sketch((n, n), 8)
    if n >= 32:
        for ox, sx in ((0.5, 7), (18.5, 25)):
            tx = 12 if sx < 16 else 20
            sk.line([(sx, 14), (sx, 23), (tx, 23)], fill=ICON_EDGE, width=2.4)
            sk.line([(sx, 14), (sx, 23), (tx, 23)], fill=ICON_CABLE,
                    width=1.1)
            sk.rect((ox, 2, ox + 13, 13), fill=CASE, outline=ICON_EDGE,
                    width=1.0, radius=1.5)
            sk.rect((ox + 2, 3.8, ox + 11, 10.6), fill=ICON_SCREEN)
            sk.poly([(ox + 2, 3.8), (ox + 6.5, 3.8), (ox + 2, 7.5)],
                    fill=ICON_GLINT)
            sk.rect((ox + 4, 13, ox + 9, 15.5), fill=CASE_SIDE,
                    outline=ICON_EDGE, width=0.8)
        # Tower.
        sk.rect((11.5, 12.5, 20.5, 31), fill=CASE, outline=ICON_EDGE,
                width=1.0)
        sk.rect((13, 15, 19, 16.6), fill=(130, 126, 112))
        sk.rect((13, 18, 19, 19.6), fill=(130, 126, 112))
        sk.ellipse((13, 26.2, 15.4, 28.6), fill=(40, 200, 70))
        sk.rect((16.5, 26.2, 19, 28.6), fill=(190, 186, 170))
        return sk.result()
    # 16x16: same idea with only the essentials.
    for ox, sx in ((0, 3.5), (9, 12.5)):
        tx = 6 if sx < 8 else 10
        sk.line([(sx, 6.5), (sx, 11.5), (tx, 11.5)], fill=ICON_CABLE,
                width=1.0)
        sk.rect((ox, 1, ox + 7, 7), fill=CASE, outline=ICON_EDGE, width=1.0)
        sk.rect((ox + 1.5, 2.5, ox + 5.5, 5.5), fill=ICON_SCREEN)
    sk.rect((5.5, 6.5, 10.5, 16), fill=CASE, outline=ICON_EDGE, width=1.0)
    sk.rect((7, 8.5, 9, 9.5), fill=(130, 126, 112))
    sk.rect((7, 12.5, 8, 13.5), fill=(40, 200, 70))
    return sk.result()


def star(cx, cy, r_out, r_in, points=5, rot=-math.pi / 2):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot + math.pi * i / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def icon_msgnew(n):
    """Closed envelope with a bright star: unread."""
    s = n / 32.0
    sk = Sketch((n, n), 8)
    paper, edge, fold = (255, 255, 248), (40, 56, 110), (150, 164, 200)
    sk.rect((1 * s, 8 * s, 29 * s, 28 * s), fill=paper, outline=edge,
            width=1.0, radius=1.0 * s)
    sk.line([(1.8 * s, 27 * s), (12 * s, 18 * s)], fill=fold, width=1.0)
    sk.line([(28.2 * s, 27 * s), (18 * s, 18 * s)], fill=fold, width=1.0)
    sk.line([(1.8 * s, 9 * s), (15 * s, 20 * s), (28.2 * s, 9 * s)],
            fill=edge, width=1.0)
    sk.poly(star(24.5 * s, 7.5 * s, 7.4 * s, 3.2 * s), fill=(255, 214, 0),
            outline=(176, 96, 0), width=1.0)
    return sk.result()


def icon_msgseen(n):
    """Opened envelope with the letter showing, in muted colours: read."""
    s = n / 32.0
    sk = Sketch((n, n), 8)
    body, edge = (214, 214, 206), (96, 100, 108)
    # Open flap behind the letter.
    sk.poly([(1.5 * s, 14 * s), (15.5 * s, 3 * s), (29.5 * s, 14 * s)],
            fill=(196, 196, 188), outline=edge, width=1.0)
    # Letter sticking out.
    sk.rect((6 * s, 6.5 * s, 25 * s, 22 * s), fill=(246, 246, 240),
            outline=(130, 132, 138), width=0.8)
    if n >= 32:
        for k in range(3):
            y = (10 + k * 3) * s
            sk.line([(9 * s, y), (22 * s, y)], fill=(160, 164, 172),
                    width=1.0)
    # Front pocket of the envelope.
    sk.poly([(1.5 * s, 14 * s), (15.5 * s, 22 * s), (29.5 * s, 14 * s),
             (29.5 * s, 29 * s), (1.5 * s, 29 * s)], fill=body, outline=edge,
            width=1.0)
    sk.line([(2.2 * s, 28.4 * s), (13 * s, 20.6 * s)], fill=(160, 160, 154),
            width=1.0)
    sk.line([(28.8 * s, 28.4 * s), (18 * s, 20.6 * s)], fill=(160, 160, 154),
            width=1.0)
    return sk.result()


ICONS = [
    ("zelto.ico", icon_zelto),
    ("msgnew.ico", icon_msgnew),
    ("msgseen.ico", icon_msgseen),
]


def _dib_rows(width, height, row_fn, bytes_per_row):
    """Bottom-up DIB rows padded to 32 bits."""
    pad = (-bytes_per_row) % 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        out += row_fn(y)
        out += b"\0" * pad
    return bytes(out)


def _and_mask(img):
    w, h = img.size
    alpha = img.getchannel("A").load()

    def row(y):
        bits = bytearray((w + 7) // 8)
        for x in range(w):
            if alpha[x, y] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        return bytes(bits)
    return _dib_rows(w, h, row, (w + 7) // 8)


def _icon_header(w, h, bits, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0,
                       image_bytes, 0, 0, 0, 0)


def icon_entry_8bit(img):
    """256-colour image plus AND mask: the format every Windows understands.
    Transparent pixels are black in the colour image so the XOR step leaves
    the desktop untouched."""
    w, h = img.size
    alpha = img.getchannel("A")
    solid = alpha.point(lambda v: 255 if v >= 128 else 0)
    rgb = Image.new("RGB", img.size, (0, 0, 0))
    rgb.paste(img.convert("RGB"), (0, 0), solid)
    q = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                     dither=Image.Dither.NONE)
    pal = q.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    pal += [0, 0, 0]                      # index 255: black for transparency
    px = q.load()
    sp = solid.load()
    idx = [[px[x, y] if sp[x, y] else 255 for x in range(w)]
           for y in range(h)]
    colours = b"".join(struct.pack("<BBBB", pal[i * 3 + 2], pal[i * 3 + 1],
                                   pal[i * 3], 0) for i in range(256))
    xor = _dib_rows(w, h, lambda y: bytes(idx[y]), w)
    mask = _and_mask(img)
    data = _icon_header(w, h, 8, len(xor) + len(mask)) + colours + xor + mask
    return (w, h, 0, 8), data


def icon_entry_32bit(img):
    """True-colour image with alpha, with the AND mask still present so
    shells without alpha blending fall back to hard edges."""
    w, h = img.size
    px = img.load()

    def row(y):
        out = bytearray()
        for x in range(w):
            r, g, b, a = px[x, y]
            if a == 0:
                r = g = b = 0
            out += bytes((b, g, r, a))
        return bytes(out)
    xor = _dib_rows(w, h, row, w * 4)
    mask = _and_mask(img)
    data = _icon_header(w, h, 32, len(xor) + len(mask)) + xor + mask
    return (w, h, 0, 32), data


def write_ico(path, images):
    entries = []
    for img in images:
        entries.append(icon_entry_8bit(img))
    for img in images:
        entries.append(icon_entry_32bit(img))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for (w, h, colours, bits), data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------------------
# Checks and preview
# ---------------------------------------------------------------------------

def check_bmp(path, size):
    with open(path, "rb") as f:
        head = f.read(54)
    bits, compression = struct.unpack("<HI", head[28:34])
    img = Image.open(path)
    ok = (img.mode == "P" and img.size == size and bits == 8
          and compression == 0)
    colours = len(img.getcolors(256) or [])
    return ok, colours


def contact_sheet(backgrounds, buttons, icons, path):
    pad = 10
    bw, bh = BUTTON_SIZE
    btn_scale = 2
    cols = 4
    bg_w = 2 * BG_SIZE[0] + 3 * pad
    bg_h = 2 * (BG_SIZE[1] + pad) + pad
    btn_h = len(BUTTONS) * (bh * btn_scale + pad) + pad
    ico_h = 32 * 4 + 2 * pad
    ico_w = pad + sum(2 * (4 * img.width + pad) + pad
                      for _, imgs in icons for img in imgs)
    sheet_w = max(bg_w, cols * (bw * btn_scale + pad) + pad, ico_w)
    sheet = Image.new("RGB", (sheet_w, bg_h + btn_h + ico_h), (60, 60, 60))
    for i, (name, img) in enumerate(backgrounds):
        x = pad + (i % 2) * (BG_SIZE[0] + pad)
        y = pad + (i // 2) * (BG_SIZE[1] + pad)
        sheet.paste(img.convert("RGB"), (x, y))
    y0 = bg_h
    for r, (caption, _, _) in enumerate(BUTTONS):
        for c, state in enumerate("udfx"):
            img = buttons[caption.lower() + state].convert("RGB")
            img = img.resize((bw * btn_scale, bh * btn_scale),
                             Image.Resampling.NEAREST)
            sheet.paste(img, (pad + c * (bw * btn_scale + pad),
                              y0 + pad + r * (bh * btn_scale + pad)))
    y0 += btn_h
    x = pad
    for name, imgs in icons:
        for img in imgs:
            big = img.resize((img.width * 4, img.height * 4),
                             Image.Resampling.NEAREST)
            for bgc in ((255, 255, 255), (0, 128, 128)):
                tile = Image.new("RGBA", big.size, bgc + (255,))
                tile.alpha_composite(big)
                sheet.paste(tile.convert("RGB"), (x, y0 + pad))
                x += big.width + pad
        x += pad
    sheet.save(path)


def main():
    out_dir = (sys.argv[1] if len(sys.argv) > 1
               else os.path.dirname(os.path.abspath(__file__)))
    written = []

    backgrounds = []
    for key in ("zq", "vq"):
        for suffix, with_text in (("", True), ("_jap", False)):
            name = "%sbg%s.bmp" % (key, suffix)
            img = make_background(key, with_text)
            img.save(os.path.join(out_dir, name))
            backgrounds.append((name, img))
            written.append((name, BG_SIZE))

    buttons = make_buttons()
    for name in sorted(buttons):
        buttons[name].save(os.path.join(out_dir, name + ".bmp"))
        written.append((name + ".bmp", BUTTON_SIZE))

    icons = []
    for name, draw in ICONS:
        imgs = [draw(32), draw(16)]
        write_ico(os.path.join(out_dir, name), imgs)
        icons.append((name, imgs))

    failures = 0
    total = 0
    for name, size in written:
        path = os.path.join(out_dir, name)
        ok, colours = check_bmp(path, size)
        nbytes = os.path.getsize(path)
        total += nbytes
        failures += not ok
        print("%-16s %3dx%-3d P %3d colours %7d bytes %s"
              % (name, size[0], size[1], colours, nbytes,
                 "ok" if ok else "BAD"))
    for name, _ in ICONS:
        path = os.path.join(out_dir, name)
        ico = Image.open(path)
        nbytes = os.path.getsize(path)
        total += nbytes
        print("%-16s sizes %s %7d bytes" % (name, sorted(ico.info["sizes"]),
                                            nbytes))
    print("total %d bytes in %d files" % (total, len(written) + len(ICONS)))

    if os.environ.get("ART_SHEET"):
        contact_sheet(backgrounds, buttons, icons, os.environ["ART_SHEET"])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
