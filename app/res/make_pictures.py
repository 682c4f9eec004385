#!/usr/bin/env python3
"""Writes the progress display's pictures as SVG files beside this script.

The pictures keep the display's sizes: the host 94x94, every terminal
picture 49x60, the check marks 12x13.
It also writes the toolbar's icons, 24x24. Each of the four terminal families of
looks gets the same ten pictures: five busy frames and one each for not
done, working, failed, done and file missing. Run it again after a change
and commit the SVG files it writes; the build compiles them in.
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent / "pictures"

# Body colour and keypad colour of each look.
LOOKS = {
    "a": ("#4a5d7a", "#c9d3e0"),  # Gravo/Halda, Lanta (and Brisa)
    "b": ("#2f6b4f", "#cfe3d6"),  # Fenna
    "c": ("#7a5530", "#ecdcc6"),  # Estra, Delmar
    "d": ("#5b3f7a", "#ddd0ea"),  # Corvo
}


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}</svg>\n')


def terminal(look, screen_fill, screen_marks):
    body_colour, key_colour = LOOKS[look]
    keys = "".join(
        f'<rect x="{10 + 10 * col}" y="{37 + 6 * row}" width="7" height="4" rx="1" '
        f'fill="{key_colour}"/>\n'
        for row in range(3) for col in range(3))
    return svg(49, 60,
               f'<rect x="5" y="1" width="39" height="58" rx="6" fill="{body_colour}" '
               f'stroke="#202020" stroke-width="1.5"/>\n'
               f'<rect x="10" y="6" width="29" height="26" rx="2" fill="{screen_fill}" '
               f'stroke="#101010" stroke-width="1"/>\n'
               f'{screen_marks}{keys}')


def status_pictures(look):
    grey = "#9aa3a0"
    return {
        "notdone": terminal(look, grey, ""),
        "working": terminal(look, "#f4e27a",
                            '<circle cx="17" cy="19" r="2" fill="#604d00"/>'
                            '<circle cx="24.5" cy="19" r="2" fill="#604d00"/>'
                            '<circle cx="32" cy="19" r="2" fill="#604d00"/>\n'),
        "failed": terminal(look, "#f2a0a0",
                           '<path d="M17 12 L32 26 M32 12 L17 26" stroke="#a00000" '
                           'stroke-width="3" stroke-linecap="round"/>\n'),
        "done": terminal(look, "#a8e0a0",
                         '<path d="M15 19 L22 25 L34 12" fill="none" stroke="#106010" '
                         'stroke-width="3" stroke-linecap="round"/>\n'),
        "missing": terminal(look, "#f5d7a0",
                            '<text x="24.5" y="27" font-family="sans-serif" font-size="18" '
                            'font-weight="bold" text-anchor="middle" fill="#7a4a00">?</text>\n'),
    }


def busy_frame(look, number):
    # A packet moving down the screen, one step per frame.
    y = 8 + 4 * (number - 1)
    return terminal(look, "#bfe4f5",
                    f'<rect x="14" y="{y}" width="21" height="5" rx="1" fill="#1f5f8a"/>\n'
                    f'<path d="M24.5 {y + 7} l-3 -2 h6 z" fill="#1f5f8a"/>\n')


def host():
    return svg(94, 94,
               '<rect x="8" y="4" width="78" height="56" rx="4" fill="#d8d8d0" '
               'stroke="#303030" stroke-width="2"/>\n'
               '<rect x="14" y="10" width="66" height="42" fill="#1e3c5a"/>\n'
               '<path d="M20 20 h40 M20 28 h30 M20 36 h44" stroke="#9fd0ff" stroke-width="3"/>\n'
               '<rect x="38" y="60" width="18" height="8" fill="#b0b0a8"/>\n'
               '<rect x="18" y="68" width="58" height="20" rx="3" fill="#d8d8d0" '
               'stroke="#303030" stroke-width="2"/>\n'
               # The spot a double click on the host acts on (85 < x < 100, 70 < y < 80).
               '<circle cx="89" cy="75" r="3.5" fill="#2a9d3a" stroke="#104010"/>\n'
               '<path d="M24 76 h34 M24 81 h30" stroke="#606060" stroke-width="2"/>\n')


def check_mark(selected):
    tick = ('<path d="M2.5 6.5 L5 10 L10 2.5" fill="none" stroke="#106010" '
            'stroke-width="2" stroke-linecap="round"/>\n') if selected else ""
    return svg(12, 13,
               '<rect x="0.5" y="1.5" width="11" height="11" fill="#ffffff" '
               'stroke="#404040" stroke-width="1"/>\n' + tick)


# The toolbar's buttons by menu id: a colour and a short mark each.
TOOLBAR = {
    32795: ("#6a4c93", "AB"),   # auto-run program
    32796: ("#1982c4", "|||"),  # bar-code setting table
    32800: ("#2a9d8f", "COM"),  # communication table
    32808: ("#e76f51", "TM"),   # time and date
    32801: ("#8a5a44", "DEV"),  # device table
    32784: ("#457b9d", "DIR"),  # directory
    32779: ("#2b9348", "DL"),   # download the predefined files
    32802: ("#6c757d", "KB"),   # executable area size
    32814: ("#f4a261", "PL"),   # poll
    32791: ("#c1121f", "DEL"),  # erase
    32782: ("#3a0ca3", "RAM"),  # RAM size
    32792: ("#007f5f", "RUN"),  # run
    32810: ("#0077b6", "UL"),   # upload the predefined files
    32809: ("#9d0208", "UPS"),  # UPS off
    32812: ("#ffb703", "WS"),   # warm start
    32813: ("#d00000", "STOP"),  # Stop
}


def toolbar_icon(colour, mark):
    size = 10 if len(mark) <= 2 else (8 if len(mark) == 3 else 6.5)
    return svg(24, 24,
               f'<rect x="1" y="1" width="22" height="22" rx="4" fill="{colour}" '
               f'stroke="#202020" stroke-width="1"/>\n'
               f'<text x="12" y="{12 + size * 0.36:.1f}" font-family="sans-serif" '
               f'font-size="{size}" font-weight="bold" text-anchor="middle" '
               f'fill="#ffffff">{mark}</text>\n')


def main():
    HERE.mkdir(exist_ok=True)
    files = {"host.svg": host(), "check_on.svg": check_mark(True),
             "check_off.svg": check_mark(False)}
    for look in LOOKS:
        for name, text in status_pictures(look).items():
            files[f"terminal_{look}_{name}.svg"] = text
        for number in range(1, 6):
            files[f"terminal_{look}_busy{number}.svg"] = busy_frame(look, number)
    for menu_id, (colour, mark) in TOOLBAR.items():
        files[f"tool_{menu_id}.svg"] = toolbar_icon(colour, mark)
    for name, text in files.items():
        (HERE / name).write_text(text)
    entries = "".join(f"    <file>pictures/{name}</file>\n" for name in sorted(files))
    (HERE.parent / "pictures.qrc").write_text(
        f'<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="/">\n{entries}'
        '  </qresource>\n</RCC>\n')


if __name__ == "__main__":
    main()
