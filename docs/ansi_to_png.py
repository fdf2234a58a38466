#!/usr/bin/env python3
"""Turn a terminal capture with SGR colours (tmux capture-pane -e -p) into a PNG.

Usage: ansi_to_png.py CAPTURE PNG [--light]
--light draws cells without an explicit colour black on white, as a terminal
with a light theme would; otherwise they are light grey on black.
Needs Pillow (Debian: python3-pil) and DejaVu Sans Mono (fonts-dejavu-core).
"""
import re
import sys

from PIL import Image, ImageDraw, ImageFont

# The sixteen console colours in ANSI order (0 black, 1 red, ... 15 white).
PALETTE = [
    (0x00, 0x00, 0x00), (0xAA, 0x00, 0x00), (0x00, 0xAA, 0x00), (0xAA, 0x55, 0x00),
    (0x00, 0x00, 0xAA), (0xAA, 0x00, 0xAA), (0x00, 0xAA, 0xAA), (0xAA, 0xAA, 0xAA),
    (0x55, 0x55, 0x55), (0xFF, 0x55, 0x55), (0x55, 0xFF, 0x55), (0xFF, 0xFF, 0x55),
    (0x55, 0x55, 0xFF), (0xFF, 0x55, 0xFF), (0x55, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"
SGR = re.compile(r"\x1b\[([0-9;:]*)m")


def colour_256(n):
    if n < 16:
        return PALETTE[n]
    if n < 232:
        n -= 16
        steps = [0, 95, 135, 175, 215, 255]
        return (steps[n // 36], steps[n // 6 % 6], steps[n % 6])
    grey = 8 + 10 * (n - 232)
    return (grey, grey, grey)


def apply_sgr(params, state):
    codes = [int(p) if p else 0 for p in re.split("[;:]", params)] if params else [0]
    i = 0
    while i < len(codes):
        c = codes[i]
        if c == 0:
            state.update(fg=None, bg=None, bold=False)
        elif c == 1:
            state["bold"] = True
        elif c == 22:
            state["bold"] = False
        elif 30 <= c <= 37:
            state["fg"] = PALETTE[c - 30]
        elif 90 <= c <= 97:
            state["fg"] = PALETTE[c - 90 + 8]
        elif 40 <= c <= 47:
            state["bg"] = PALETTE[c - 40]
        elif 100 <= c <= 107:
            state["bg"] = PALETTE[c - 100 + 8]
        elif c == 39:
            state["fg"] = None
        elif c == 49:
            state["bg"] = None
        elif c in (38, 48) and i + 1 < len(codes):
            key = "fg" if c == 38 else "bg"
            if codes[i + 1] == 5 and i + 2 < len(codes):
                state[key] = colour_256(codes[i + 2])
                i += 2
            elif codes[i + 1] == 2 and i + 4 < len(codes):
                state[key] = tuple(codes[i + 2:i + 5])
                i += 4
        i += 1


def parse(text):
    """Rows of cells (char, fg, bg, bold); None colours are the terminal's defaults."""
    rows = []
    state = {"fg": None, "bg": None, "bold": False}
    for line in text.split("\n"):
        row = []
        pos = 0
        for m in SGR.finditer(line):
            row += [(ch, state["fg"], state["bg"], state["bold"]) for ch in line[pos:m.start()]]
            apply_sgr(m.group(1), state)
            pos = m.end()
        row += [(ch, state["fg"], state["bg"], state["bold"]) for ch in line[pos:]]
        rows.append(row)
    while rows and not rows[-1]:
        rows.pop()
    return rows


def render(rows, light, size=15):
    font = ImageFont.truetype(FONT, size)
    bold = ImageFont.truetype(FONT_BOLD, size)
    cell_w = round(font.getlength("M"))
    ascent, descent = font.getmetrics()
    cell_h = ascent + descent + 1
    default_fg, default_bg = ((0, 0, 0), (255, 255, 255)) if light else (PALETTE[7], (0, 0, 0))
    width = max((len(r) for r in rows), default=1)
    pad = 8
    img = Image.new("RGB", (2 * pad + width * cell_w, 2 * pad + len(rows) * cell_h), default_bg)
    draw = ImageDraw.Draw(img)
    for y, row in enumerate(rows):
        for x, (ch, fg, bg, is_bold) in enumerate(row):
            left, top = pad + x * cell_w, pad + y * cell_h
            if bg is not None:
                draw.rectangle([left, top, left + cell_w - 1, top + cell_h - 1], fill=bg)
            if ch != " ":
                draw.text((left, top), ch, font=bold if is_bold else font, fill=fg or default_fg)
    return img


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 2:
        sys.exit(__doc__)
    with open(args[0], encoding="utf-8", errors="replace") as f:
        rows = parse(f.read())
    render(rows, "--light" in sys.argv).save(args[1])


if __name__ == "__main__":
    main()
