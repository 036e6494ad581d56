#!/usr/bin/python3
"""Composes the pages as the panel shows them, from the generated bitmaps and
Setup.ini's captions, into PNGs for a look.

    preview-artwork.py IMAGE_DIR OUT_DIR [SETUP_INI]
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

src, out = sys.argv[1], sys.argv[2]
ini = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "Setup.ini")
FONT = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 11)


def entries(section):
    found, on = [], False
    for line in open(ini, encoding="latin-1").read().splitlines():
        if line.startswith("["):
            on = line.strip() == "[%s]" % section
        elif on and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            parts = value.split(",", 4)
            found.append((key, tuple(int(p) for p in parts[:4]), parts[4]))
    return found


def bmp(name):
    return Image.open(os.path.join(src, name + ".bmp")).convert("RGB")


def shown(im, key):
    """The mask of the pixels a transparent blit draws: all but the key colour."""
    keyed = [Image.eval(ch, lambda v, k=k: 255 if v == k else 0) for ch, k in zip(im.split(), key)]
    return Image.eval(Image.merge("RGB", keyed).convert("L"), lambda v: 0 if v == 255 else 255)


def blit(page, name, x, y, crop=None, key=(255, 255, 255)):
    im = bmp(name)
    if crop:
        im = im.crop(crop)
        x, y = x + crop[0], y + crop[1]
    page.paste(im, (x, y), shown(im, key))


def caption(page, rect, text, colour=(255, 255, 255)):
    m = Image.new("L", page.size)
    ImageDraw.Draw(m).text((rect[0], rect[1]), text, font=FONT, fill=255)
    page.paste(colour, rect[:2], m.crop(rect))  # DrawText clips to the rectangle


def captions(page, section, only=None):
    for key, rect, text in entries(section):
        if text and (only is None or key in only):
            caption(page, rect, text)


def test_page(all_hats):
    p = bmp("BKJoystick")
    blit(p, "LogoJoy", 204, 0)
    blit(p, "BtnTurbo_1", 40, 25)
    blit(p, "BtnClear", 120, 25)
    for n in range(12):
        x, y = (60, 123, 186, 249, 312, 375)[n % 6], (58, 115)[n // 6]
        lit = n in (0, 3, 7, 11)
        blit(p, "BtnButton_%d" % (n + 1) if lit else "BtnButton", x, y)
        if n in (3, 8):
            blit(p, "BtnWhiteBall", x - 2, y - 2)
        if lit:
            caption(p, (x, y + 43, x + 50, y + 57), "Button %d" % (n + 1))
    for x, level in ((28, 170), (268, 40)):
        blit(p, "AxesSlider", x, 146)
        blit(p, "AxesSlider_1", x, 146, (0, 0, 40 + level * 130 // 255, 83))
    for n in range(1, 9) if all_hats else (2,):
        r = [(105, 203), (151, 223), (174, 271), (153, 320), (103, 341), (55, 321), (34, 272), (56, 222)][n - 1]
        blit(p, "BmpCoolHat_%d" % n, *r)
    blit(p, "AxesSensitive", 280, 250)
    blit(p, "AxesSensitive_1", 280, 250, (0, 11, 28, 33))
    blit(p, "BKCursor", 377 + 25 - 15, 302 - 30 - 15)
    captions(p, "TestPage")
    return p


def keymap_page(keyboard):
    p = bmp("BKKeyboardMap" if keyboard else "BKKeyMap")
    keys = entries("KeyboardPage")
    for i in range(12):
        col, top = (36, 259)[i // 6], 62 + 47 * (i % 6)
        blit(p, "BtnSet_1" if i == 2 else "BtnSet", col, top)
        if not keyboard:
            blit(p, "BtnButton_%d" % ((i + 3) % 12 + 1), col + 144, top + 2)
        elif i % 3 == 1:
            blit(p, "BtnButton_%d" % (i + 1), col + 75, top + 2)
        else:
            caption(p, keys[i][1], ("Space", "Left Ctrl", "Enter", "A", "Up", "Page Down")[i % 6])
    for x, name in ((114, "BtnInitial"), (211, "BtnLoad_1"), (312, "BtnSave")):
        blit(p, name, x, 358)
    return p


def vibration_page():
    p = bmp("BKV")
    blit(p, "BKTimeBall", 160, 71)
    d = ImageDraw.Draw(p)
    d.line([(x, 133 - 18 * math.sin((x - 80) / 20)) for x in range(82, 421)], fill=(255, 255, 255), width=1)
    for x, name in ((126, "BtnInitial_v"), (211, "BtnAuto_v1"), (300, "BtnManual_v")):
        blit(p, name, x, 177)
    blit(p, "BKPowerLine", 79, 220, (0, 0, 210, 22))
    blit(p, "BKArrow", 79 + 210 - 4, 239)
    blit(p, "BtnVLeft_1", 42, 270)
    blit(p, "BtnVRight", 377, 270)
    blit(p, "BKCursor_1", 251 - 15 - 20, 327 - 15 + 10, key=(0, 0, 0))
    captions(p, "PowerPage")
    return p


def calibration_page():
    p = bmp("BKJoyCheck")
    blit(p, "BKCursor", 133 - 15, 120 - 15)
    blit(p, "AxesSlider", 27, 200)
    blit(p, "AxesSlider_1", 27, 200, (0, 0, 40 + 128 * 130 // 255, 83))
    blit(p, "AxesSlider", 27, 294)
    blit(p, "BtnCheck", 223, 242)
    steps = {"Check_Set0_2"} | {"Check_Set0_2_%d" % i for i in range(5)}
    captions(p, "CheckPage", {"X_Y_0", "Axies2_0", "Axies3_0"} | steps)
    return p


def key_prompt():
    p = Image.new("RGB", (255, 80), (255, 255, 255))
    (_, t, title), (_, r, _) = entries("DIALOGString")
    d = ImageDraw.Draw(p)
    d.rectangle(t, outline=(200, 220, 255))
    d.rectangle(r, outline=(200, 220, 255))
    words, lines = title.split(), [""]
    for w in words:  # word-wrapped, as DT_WORDBREAK would
        if FONT.getlength((lines[-1] + " " + w).strip()) > t[2] - t[0]:
            lines.append("")
        lines[-1] = (lines[-1] + " " + w).strip()
    for i, line in enumerate(lines):
        d.text((t[0], t[1] + 13 * i), line, font=FONT, fill=(0, 0, 0))
    d.text((r[0], r[1]), "Left Ctrl", font=FONT, fill=(0, 0, 0))
    return p


def sprite_sheet():
    """Every sprite twice its size on the page colour, to check edges."""
    names = sorted(n[:-4] for n in os.listdir(src) if n.endswith(".bmp") and not n.startswith(("BK", "Background")))
    names += ["BKCursor", "BKCursor_1", "BKArrow", "BKTimeBall", "BKPowerLine"]
    sheet = Image.new("RGB", (1000, 1400), (31, 41, 55))
    x = y = row = 8
    for name in names:
        im = bmp(name)
        if x + im.width * 2 > 1000:
            x, y, row = 8, y + row + 8, 8
        tile = Image.new("RGB", im.size, (31, 41, 55))
        tile.paste(im, (0, 0), shown(im, (0, 0, 0) if name == "BKCursor_1" else (255, 255, 255)))
        sheet.paste(tile.resize((im.width * 2, im.height * 2), Image.Resampling.NEAREST), (x, y))
        x, row = x + im.width * 2 + 8, max(row, im.height * 2)
    return sheet.crop((0, 0, 1000, y + row + 8))


def about_page():
    p = bmp("BKAbout")
    blit(p, "LogoJoy", 204, 0)
    return p


os.makedirs(out, exist_ok=True)
shots = {"test": test_page(False), "test-hat": test_page(True), "keymap": keymap_page(False),
         "keyboard": keymap_page(True), "vibration": vibration_page(), "calibration": calibration_page(),
         "about": about_page(), "key-prompt": key_prompt(), "sprites": sprite_sheet()}
for name, im in shots.items():
    im.save(os.path.join(out, name + ".png"))
