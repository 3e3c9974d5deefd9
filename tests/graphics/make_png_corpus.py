#!/usr/bin/env python3
"""Writes the image-decoder fuzz corpus: small valid PNGs of every channel
count and bit depth, and hostile variants (bad signature, truncation, huge
declared sizes, corrupt chunks and streams). Usage: make_png_corpus.py DIR"""
import os
import struct
import sys
import zlib


def chunk(kind, data, crc=None):
    body = kind + data
    if crc is None:
        crc = zlib.crc32(body) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + body + struct.pack(">I", crc)


SIG = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def ihdr(w, h, depth=8, colour=6, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, interlace))


def raw_rows(w, h, depth, colour, filt=0):
    bits = CHANNELS[colour] * depth
    row = (w * bits + 7) // 8
    out = bytearray()
    for y in range(h):
        out.append(filt)
        out += bytes(((x * 37 + y * 11) & 0xFF) for x in range(row))
    return bytes(out)


def adam7_rows(w, h, colour):
    """8-bit samples split into the seven Adam7 passes, each row filter 0."""
    bpp = CHANNELS[colour]
    out = bytearray()
    for xs, ys, dx, dy in ADAM7:
        pw, ph = (w - xs + dx - 1) // dx, (h - ys + dy - 1) // dy
        if pw <= 0 or ph <= 0:
            continue
        for py in range(ph):
            out.append(0)
            y = ys + py * dy
            for px in range(pw):
                x = xs + px * dx
                out += bytes(((x * 37 + y * 11 + c) & 0xFF) for c in range(bpp))
    return bytes(out)


def png(w, h, depth=8, colour=6, filt=0, interlace=0, extra=b""):
    parts = [SIG, ihdr(w, h, depth, colour, interlace)]
    if colour == 3:
        parts.append(chunk(b"PLTE", bytes(range(48))))
        parts.append(chunk(b"tRNS", bytes([0, 128, 255])))
    parts.append(extra)
    rows = adam7_rows(w, h, colour) if interlace else raw_rows(w, h, depth, colour, filt)
    parts.append(chunk(b"IDAT", zlib.compress(rows)))
    parts.append(chunk(b"IEND", b""))
    return b"".join(parts)


def corpus():
    files = {}
    for colour, name in [(0, "grey"), (4, "greyalpha"), (2, "rgb"), (6, "rgba"), (3, "palette")]:
        files["valid_%s_4x3.png" % name] = png(4, 3, 8, colour)
    files["valid_rgba_16bit.png"] = png(3, 2, 16, 6)
    files["valid_grey_1bit.png"] = png(9, 2, 1, 0)
    files["valid_interlaced.png"] = png(9, 9, 8, 2, interlace=1)
    files["interlace_flag_plain_rows.png"] = SIG + ihdr(9, 9, 8, 2, 1) + chunk(b"IDAT", zlib.compress(raw_rows(9, 9, 8, 2))) + chunk(b"IEND", b"")
    for f in range(5):
        files["valid_filter%d.png" % f] = png(5, 4, 8, 6, filt=f)
    files["valid_1x1.png"] = png(1, 1)
    files["valid_text_chunk.png"] = png(2, 2, extra=chunk(b"tEXt", b"Comment\0made here"))
    good = png(6, 5)
    files["empty"] = b""
    files["signature_only.png"] = SIG
    files["wrong_signature.png"] = b"\x89PNG\r\n\x1a\x00" + good[8:]
    files["jpeg_header.jpg"] = b"\xff\xd8\xff\xe0\x00\x10JFIF\x00" + bytes(32)
    files["gif_header.gif"] = b"GIF89a" + struct.pack("<HH", 4, 4) + bytes(20)
    files["bmp_header.bmp"] = b"BM" + bytes(60)
    for cut in (12, 20, 33, 40, len(good) - 20, len(good) - 1):
        files["truncated_%d.png" % cut] = good[:cut]
    for w, h in [(8193, 1), (1, 8193), (8192, 8192), (8192, 8193), (0x7FFFFFFF, 1),
                 (0xFFFFFFFF, 0xFFFFFFFF), (0, 5), (5, 0), (65535, 65535)]:
        files["huge_%dx%d.png" % (w, h)] = SIG + ihdr(w, h) + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b"")
    files["bad_crc.png"] = SIG + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 3, 8, 6, 0, 0, 0), crc=0) + good[33:]
    files["bad_depth.png"] = SIG + ihdr(4, 3, 7, 6) + good[33:]
    files["bad_colour_type.png"] = SIG + ihdr(4, 3, 8, 5) + good[33:]
    files["bad_interlace.png"] = SIG + ihdr(4, 3, 8, 6, 9) + good[33:]
    files["corrupt_zlib.png"] = SIG + ihdr(4, 3) + chunk(b"IDAT", b"\x78\x9c\xff\xff\xff\xff") + chunk(b"IEND", b"")
    files["short_idat.png"] = SIG + ihdr(64, 64) + chunk(b"IDAT", zlib.compress(b"\0" * 10)) + chunk(b"IEND", b"")
    files["bad_filter_byte.png"] = SIG + ihdr(4, 3) + chunk(b"IDAT", zlib.compress(b"\x09" * 60)) + chunk(b"IEND", b"")
    files["no_idat.png"] = SIG + ihdr(4, 3) + chunk(b"IEND", b"")
    files["no_ihdr.png"] = SIG + chunk(b"IDAT", zlib.compress(b"\0" * 13)) + chunk(b"IEND", b"")
    files["chunk_length_huge.png"] = SIG + ihdr(4, 3) + struct.pack(">I", 0x7FFFFFF0) + b"IDAT" + bytes(16)
    files["palette_missing.png"] = SIG + ihdr(4, 3, 8, 3) + chunk(b"IDAT", zlib.compress(raw_rows(4, 3, 8, 3))) + chunk(b"IEND", b"")
    files["palette_index_oob.png"] = SIG + ihdr(4, 3, 8, 3) + chunk(b"PLTE", bytes(6)) + chunk(b"IDAT", zlib.compress(b"\0\xff\xff\xff\xff" * 3)) + chunk(b"IEND", b"")
    files["zlib_bomb.png"] = SIG + ihdr(16, 16) + chunk(b"IDAT", zlib.compress(b"\0" * 4000000, 9)) + chunk(b"IEND", b"")
    files["cgbi_apple.png"] = SIG + chunk(b"CgBI", b"\x50\x00\x20\x06") + ihdr(2, 2) + chunk(b"IDAT", zlib.compress(raw_rows(2, 2, 8, 6))[2:-4]) + chunk(b"IEND", b"")
    # Seeds for the harness's synthesised-PNG mode ('S', 7 header bytes, body).
    for colour, depth in [(0, 1), (0, 2), (0, 4), (0, 16), (2, 8), (2, 16), (3, 1), (3, 8), (4, 8), (6, 8), (6, 16)]:
        for interlace in (0, 1):
            w, h = 7, 5
            header = bytes([w - 1, h - 1, depth, colour, 0, 0, interlace])
            body = bytes(range(48)) if colour == 3 else b""
            if interlace:
                for xs, ys, dx, dy in ADAM7:
                    pw, ph = (w - xs + dx - 1) // dx, (h - ys + dy - 1) // dy
                    if pw > 0 and ph > 0:
                        row = (pw * CHANNELS[colour] * depth + 7) // 8
                        body += b"".join(b"\0" + bytes((x * 29 + y) & 0xFF for x in range(row)) for y in range(ph))
            else:
                row = (w * CHANNELS[colour] * depth + 7) // 8
                body += b"".join(bytes([y % 5]) + bytes((x * 13 + y) & 0xFF for x in range(row)) for y in range(h))
            files["synth_c%d_d%d_i%d" % (colour, depth, interlace)] = b"S" + header + body
    return files


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, data in sorted(corpus().items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print("%d files" % len(corpus()))


if __name__ == "__main__":
    main()
