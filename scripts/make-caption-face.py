#!/usr/bin/python3
"""Makes the window's caption face: Noto Sans CJK SC cut down to the glyphs the window and its
printed sheet show, under a family name of its own.

The program draws every caption and text in this face, so that it looks the same whatever fonts
the machine has, and no caption goes looking for a fallback font at start-up. The glyph list
comes from the window's own layout table in ui/layouttable.cpp (every string of `kControls`) and
its title in ui/frmmoxon.cpp plus all printable ASCII, for the numbers and whatever the user types into the
boxes, plus every other character of a string in ui/: the diagram's tooltip and menu, the
design check window, its figures, header and charts (with the texts of report/, the names
of the grounds and metals in core/installation.cpp, of the insulations in core/insulation.cpp
and of the tuning goals in core/tunegoal.cpp), the build sheet in sheet/, which is drawn in the
same face on paper and in PDF, and every character of the translation file in translations/, its
source texts and their English. A string
counts whether the source writes it u"...", QStringLiteral("...") or as the source text of a
translation (tr, QT_TR_NOOP, QT_TRANSLATE_NOOP, translate). Those also go into the bold face, which the check window's captions use; of
the main window, only the letter labels are bold.

The line's ascent and descent come from the glyphs of the main window alone, so that a new
text elsewhere never moves a caption of its fixed layout.

The build does not run this: the faces are committed under ui/resources/fonts/. Run it by hand
whenever a caption changes, then rebuild and run tst_captionface:

    /usr/bin/python3 scripts/make-caption-face.py

Needs Debian's python3-fonttools and fonts-noto-cjk (the system Python: a Python of one's own
does not see Debian's fontTools).
"""

import argparse
import html
import pathlib
import re
import sys

from fontTools import subset
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
UI_DIR = ROOT / "ui"
LAYOUT_SOURCE = UI_DIR / "layouttable.cpp"
WINDOW_SOURCE = UI_DIR / "frmmoxon.cpp"
OUT_DIR = ROOT / "ui" / "resources" / "fonts"

NOTO_DIR = pathlib.Path("/usr/share/fonts/opentype/noto")
# Face numbers inside the Noto Sans CJK collections: JP, KR, SC, TC, HK, then the monospaced.
SC_FACE_NUMBER = 2
DEBIAN_COPYRIGHT = pathlib.Path("/usr/share/doc/fonts-noto-cjk/copyright")

# The window looks the face up by this name; keep it in step with ui/captionface.h. A name of
# its own keeps the subset apart from a full Noto Sans CJK installed on the machine.
FAMILY = "Moxon Caption Sans"
FACES = {"Regular": "MoxonCaptionSans-Regular.otf", "Bold": "MoxonCaptionSans-Bold.otf"}
LICENCE_FILE = "OFL.txt"

# A caption of the layout table: u"..." shown as it is, or the source text of a translation.
STRING = re.compile(r'(?:\bu|QT_TRANSLATE_NOOP\("[^"]*",\s*)"((?:[^"\\]|\\.)*)"')
# A string as the sources write one: u"...", QStringLiteral("...") or the source text of a
# translation: tr("..."), QT_TR_NOOP("..."), QT_TRANSLATE_NOOP("Context", "...") and
# translate("Context", "...").
ANY_STRING = re.compile(
    r'(?:\bu|QStringLiteral\(|\btr\(|QT_TR_NOOP\(|(?:QT_TRANSLATE_NOOP|\btranslate)\("[^"]*",\s*)'
    r'"((?:[^"\\]|\\.)*)"'
)
# The English translation's texts, which the window shows in the same face.
TRANSLATIONS = ROOT / "translations"
# The translation file's source texts and their English: lupdate writes a source text whole,
# however the code splits it over adjacent literals, which ANY_STRING sees only the first of.
TRANSLATION = re.compile(r"<(?:source|translation)>([^<]*)</(?:source|translation)>")
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), literal)


def caption_table(layout_source, window_source):
    """Each entry of `kControls` as (kind, [its string literals]), and the window title."""
    start = layout_source.index("constexpr std::array kControls")
    end = layout_source.index("};", start)
    entries = []
    for chunk in layout_source[start:end].split("LayoutRow{")[1:]:
        kind = re.search(r"Kind::(\w+)", chunk)
        if not kind:
            sys.exit(f"{LAYOUT_SOURCE}: an entry of kControls without its Kind: {chunk[:60]!r}")
        entries.append((kind.group(1), [unescape(s) for s in STRING.findall(chunk)]))
    if not entries:
        sys.exit(f"{LAYOUT_SOURCE}: no kControls table found")
    title = re.search(
        r'setWindowTitle\((?:QStringLiteral|tr)\("((?:[^"\\]|\\.)*)"\)\)', window_source
    )
    if not title:
        sys.exit(f"{WINDOW_SOURCE}: no window title found")
    return entries, unescape(title.group(1))


def window_texts(entries, title):
    """What the main window's fixed layout shows, in each style."""
    printable_ascii = "".join(chr(c) for c in range(0x20, 0x7F))
    regular = printable_ascii + title + "".join("".join(strings) for _, strings in entries)
    # A letter label's caption is its last string: name, frame, caption.
    bold = " " + "".join(strings[-1] for kind, strings in entries if kind == "LetterLabel")
    return {"Regular": regular, "Bold": bold}


def other_texts():
    """Printable ASCII and the other characters of every string in ui/ and of the texts the
    check window takes from elsewhere (its figures and header from report/, the names of the
    grounds, metals, insulations and tuning goals from core/), and of the build sheet in sheet/,
    sorted."""
    characters = set(chr(c) for c in range(0x20, 0x7F))
    sources = sorted(UI_DIR.glob("*.cpp")) + sorted((ROOT / "report").glob("*.cpp"))
    sources += sorted((ROOT / "sheet").glob("*.cpp"))
    sources += [
        ROOT / "core" / "installation.cpp",
        ROOT / "core" / "insulation.cpp",
        ROOT / "core" / "tunegoal.cpp",
    ]
    for source in sources:
        for literal in ANY_STRING.findall(source.read_text(encoding="utf-8")):
            characters.update(c for c in unescape(literal) if ord(c) > 0x7E)
    for translation in sorted(TRANSLATIONS.glob("*.ts")):
        for text in TRANSLATION.findall(translation.read_text(encoding="utf-8")):
            characters.update(c for c in html.unescape(text) if ord(c) > 0x7E)
    return "".join(sorted(characters))


def rename(font, style):
    """Gives the subset its own family name, keeping the copyright and licence entries."""
    ps_name = FAMILY.replace(" ", "") + "-" + style
    names = font["name"]
    original_version = names.getDebugName(5) or ""
    for record in list(names.names):
        if record.nameID in (1, 2, 3, 4, 6, 16, 17, 21, 22):
            names.removeNames(nameID=record.nameID)
    for name_id, text in (
        (1, FAMILY),
        (2, style),
        (3, f"{ps_name}; subset of {original_version}"),
        (4, f"{FAMILY} {style}" if style != "Regular" else FAMILY),
        (6, ps_name),
    ):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    cff = font["CFF "].cff
    cff.fontNames = [ps_name]
    top = cff.topDictIndex[0]
    top.FullName = f"{FAMILY} {style}"
    top.FamilyName = FAMILY


def glyph_bounds(font):
    """The lowest and highest point of any glyph of `font`, in font units."""
    glyphs = font.getGlyphSet()
    low, high = 0, 0
    for name in font.getGlyphOrder():
        pen = BoundsPen(glyphs)
        glyphs[name].draw(pen)
        if pen.bounds:
            low, high = min(low, pen.bounds[1]), max(high, pen.bounds[3])
    return low, high


def fit_line_metrics(font, low, high):
    """Sets the line's ascent and descent to what the face's glyphs reach.

    The full face keeps room above and below for the accents and scripts of all its glyphs,
    nearly half an em more than any glyph of the window reaches. That room made every line
    taller than the window's controls (an option is 16 pixels high at 96 dpi, a line of the
    full face at 9 points 18), so captions were cut and a frame's caption reached into the
    option below it. All three sets of metrics agree, whichever one a renderer reads.
    """
    hhea, os2 = font["hhea"], font["OS/2"]
    hhea.ascent, hhea.descent, hhea.lineGap = high, low, 0
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = high, low, 0
    os2.usWinAscent, os2.usWinDescent = high, -low
    os2.fsSelection |= 1 << 7  # USE_TYPO_METRICS
    if os2.version < 4:
        os2.version = 4


def make_face(style, text):
    source = NOTO_DIR / f"NotoSansCJK-{style}.ttc"
    # The source's own dates stay, so that the same captions give the same bytes.
    font = TTFont(source, fontNumber=SC_FACE_NUMBER, recalcTimestamp=False)
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    # Horizontal captions only: the vertical metrics and the baseline table are not needed.
    options.drop_tables += ["VORG", "vhea", "vmtx", "BASE"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    rename(font, style)
    return font


def licence_text(copyright_notice):
    """The face's copyright line and the SIL Open Font License 1.1 as Debian ships it."""
    lines = DEBIAN_COPYRIGHT.read_text(encoding="utf-8").splitlines()
    # The licence's own paragraph, not the "Files:" stanza that names it.
    start = len(lines) - 1 - lines[::-1].index("License: SIL-1.1")
    body = []
    for line in lines[start + 1 :]:
        if not line.startswith(" "):
            break
        body.append("" if line == " ." else line[1:])
    return (
        f"{FAMILY} is a subset of Noto Sans CJK SC made by scripts/make-caption-face.py.\n"
        f"Noto Sans CJK: {copyright_notice}\n"
        "Modified Version under the same licence:\n\n" + "\n".join(body).strip() + "\n"
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=OUT_DIR, help="output folder")
    args = parser.parse_args()

    entries, title = caption_table(
        LAYOUT_SOURCE.read_text(encoding="utf-8"), WINDOW_SOURCE.read_text(encoding="utf-8")
    )
    window = window_texts(entries, title)
    others = other_texts()
    args.out.mkdir(parents=True, exist_ok=True)
    # One line height for regular and bold, so that a bold label sits as a regular one would;
    # measured on faces of the main window's glyphs alone.
    bounds = [glyph_bounds(make_face(style, window[style])) for style in FACES]
    faces = {style: make_face(style, window[style] + others) for style in FACES}
    low, high = min(b[0] for b in bounds), max(b[1] for b in bounds)
    copyright_notice = ""
    for style, file_name in FACES.items():
        font = faces[style]
        fit_line_metrics(font, low, high)
        out_path = args.out / file_name
        font.save(out_path)
        copyright_notice = font["name"].getDebugName(0)
        glyphs = len(font.getGlyphOrder())
        print(f"{out_path.relative_to(ROOT) if out_path.is_relative_to(ROOT) else out_path}: "
              f"{glyphs} glyphs, {out_path.stat().st_size} bytes")
    (args.out / LICENCE_FILE).write_text(licence_text(copyright_notice), encoding="utf-8")


if __name__ == "__main__":
    main()
