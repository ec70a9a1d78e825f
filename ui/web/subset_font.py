#!/usr/bin/python3
# subset_font.py <out.woff2> <font file> <source>...: cuts the font down to the characters the
# given sources hold (every string our windows can show is in them) plus printable ASCII, as
# WOFF2, so that the page shows its Chinese text in the same face on any machine.
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont


def main(out, font_file, sources):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for name in sources:
        with open(name, encoding="utf-8", errors="ignore") as f:
            chars.update(ch for ch in f.read() if ord(ch) >= 0x80 and ch.isprintable())
    if font_file.endswith(".ttc"):
        font = TTCollection(font_file).fonts[0]
    else:
        font = TTFont(font_file)
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(sorted(chars)))
    subsetter.subset(font)
    font.flavor = "woff2"
    font.save(out)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit("usage: subset_font.py <out.woff2> <font file> <source>...")
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
