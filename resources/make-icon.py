#!/usr/bin/env python3
"""Packs rendered PNGs into a .ico of uncompressed 32-bit DIB entries.

Usage:
  make-icon.py OUT.ico IN.png [IN.png ...]   entries keep the order given
  make-icon.py --list FILE.ico               print the directory, check each entry

Standard library only, so the build needs nothing beyond Debian's python3.
DIB entries rather than PNG ones: older loaders and resource tools read them.
"""

import struct
import sys
import zlib


def read_png(path):
    """Returns (width, height, rows of RGBA bytes top-down) for an 8-bit PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    pos, idat, ihdr = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    width, height, depth, ctype, _, _, interlace = ihdr
    if depth != 8 or ctype not in (2, 6) or interlace:
        raise SystemExit(f"{path}: need 8-bit RGB/RGBA non-interlaced PNG")
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(b"".join(idat))
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        prev = line
        if bpp == 3:
            line = bytearray(b for i in range(width)
                             for b in (*line[i * 3:i * 3 + 3], 255))
        rows.append(bytes(line))
    return width, height, rows


def dib_entry(width, height, rows):
    """BITMAPINFOHEADER + bottom-up BGRA + 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((width + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            if a == 0:
                # Fully clear pixels: mask bit set and colour black, so a
                # mask-only renderer leaves the screen untouched there.
                bits[x // 8] |= 0x80 >> (x % 8)
                r = g = b = 0
            xor += bytes((b, g, r, a))
        mask += bits
    body = bytes(xor) + bytes(mask)
    header = header[:20] + struct.pack("<I", len(body)) + header[24:]
    return header + body


def write_ico(out, pngs):
    images = []
    for path in pngs:
        width, height, rows = read_png(path)
        if width != height or not 1 <= width <= 255:
            raise SystemExit(f"{path}: {width}x{height} is not a square icon size")
        images.append((width, dib_entry(width, height, rows)))
    offset = 6 + 16 * len(images)
    directory, blobs = bytearray(struct.pack("<HHH", 0, 1, len(images))), bytearray()
    for width, blob in images:
        directory += struct.pack("<BBBBHHII", width, width, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(out, "wb") as f:
        f.write(bytes(directory) + bytes(blobs))


def list_ico(path):
    """Prints each entry and checks it is a consistent 32-bit DIB with a matching mask."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    print(f"{path}: {len(data)} bytes, type {kind}, {count} images")
    ok = reserved == 0 and kind == 1
    for i in range(count):
        w, h, colors, _, planes, bits, size, offset = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
        blob = data[offset:offset + size]
        if blob[:8] == b"\x89PNG\r\n\x1a\n":
            print(f"  #{i}: {w}x{h} PNG-compressed entry")
            ok = False
            continue
        (hsize, bw, bh, bplanes, bbits, comp) = struct.unpack("<IiiHHI", blob[:20])
        mask_stride = ((bw + 31) // 32) * 4
        xor_len = bw * (bh // 2) * 4
        expect = hsize + xor_len + mask_stride * (bh // 2)
        mask_good = True
        for y in range(bh // 2):
            for x in range(bw):
                alpha = blob[hsize + (y * bw + x) * 4 + 3]
                bit = blob[hsize + xor_len + y * mask_stride + x // 8] >> (7 - x % 8) & 1
                mask_good &= bit == (alpha == 0)
        entry_ok = (hsize == 40 and bw == w and bh == 2 * h and bbits == 32 == bits
                    and comp == 0 and planes == bplanes == 1 and size == expect and mask_good)
        ok &= entry_ok
        print(f"  #{i}: {w}x{h} {bits}-bit BGRA DIB, {size} bytes at {offset}, "
              f"mask {'matches alpha' if mask_good else 'WRONG'}"
              f"{'' if entry_ok else '  <-- BAD ENTRY'}")
    return ok


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--list":
        sys.exit(0 if list_ico(sys.argv[2]) else 1)
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    write_ico(sys.argv[1], sys.argv[2:])
