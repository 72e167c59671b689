#!/usr/bin/env python3
"""Writes charset guessing samples (one per line: the charset, a tab, the
bytes in hex) from real translated messages that the common-character
tables were not made from: Chinese in GBK and Big5, Japanese in Shift_JIS
(also with its katakana in half-width form), Korean in EUC-KR, French,
German, Spanish, Italian and Portuguese in ISO-8859-1, and a mix in UTF-8. Each sample is a
stretch of 2 to 16 characters, as short as symbol data often is.

Usage: make_charset_samples.py > samples.txt   (see charset_confusion.cpp)
"""
import os
import random
import sys
import unicodedata

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "codec", "decoder", "tables"))
sys.argv = sys.argv[:1]
import generate_common_characters as common  # noqa: E402

SAMPLES_PER_SET = 1500
SETS = [("GBK", "zh_CN", "gbk"), ("Big5", "zh_TW", "big5"), ("Shift_JIS", "ja", "cp932"),
        ("EUC-KR", "ko", "euc_kr")] + [("ISO-8859-1", lang, "latin-1")
                                       for lang in ("fr", "de", "es", "it", "pt")] + [
    ("UTF-8", lang, "utf-8") for lang in ("zh_CN", "ja", "ko", "fr", "ru")]

# Full-width katakana to their half-width spelling (voiced ones as two characters).
HALF_WIDTH = {}
for code in range(0xFF61, 0xFFA0):
    HALF_WIDTH.setdefault(unicodedata.normalize("NFKC", chr(code)), chr(code))
for code in range(0xFF66, 0xFF9E):
    for mark in ("\uFF9E", "\uFF9F"):
        full = unicodedata.normalize("NFKC", chr(code) + mark)
        if len(full) == 1:
            HALF_WIDTH.setdefault(full, chr(code) + mark)


def to_half_width(text):
    return "".join(HALF_WIDTH.get(c, c) if 0x30A1 <= ord(c) <= 0x30FC else c for c in text)


def stretches(texts, rng, count):
    texts = [t for t in texts if any(ord(c) > 0x7F for c in t)]
    for _ in range(count * 4):
        text = rng.choice(texts)
        length = rng.randint(2, 16)
        start = rng.randint(0, max(0, len(text) - length))
        piece = text[start:start + length]
        if any(ord(c) > 0x7F for c in piece):
            yield piece


def emit(name, pieces, encoding, count):
    written = 0
    for piece in pieces:
        try:
            data = piece.encode(encoding)
        except UnicodeEncodeError:
            continue
        print(name, data.hex(), sep="\t")
        written += 1
        if written == count:
            return


def main():
    rng = random.Random(16)
    for name, lang, encoding in SETS:
        texts = [t.replace("\n", " ") for t in common.messages(lang, held_out=True)]
        count = SAMPLES_PER_SET if name != "UTF-8" and lang in ("zh_CN", "zh_TW", "ja", "ko") \
            else SAMPLES_PER_SET // 5
        emit(name, stretches(texts, rng, count), encoding, count)
        if lang == "ja" and name == "Shift_JIS":
            katakana = [to_half_width(t) for t in texts if any(0x30A1 <= ord(c) <= 0x30FC for c in t)]
            pieces = (p for p in stretches(katakana, rng, count)
                      if any(0xFF61 <= ord(c) <= 0xFF9F for c in p))
            emit("Shift_JIS", pieces, encoding, count)


main()
