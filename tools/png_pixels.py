#!/usr/bin/env python3
"""Decodes an 8-bit RGB or RGBA PNG without any imaging library (zlib only) and
writes its pixels as a binary PPM, so pictures the program writes can be checked by
a decoder that shares no code with it or with Qt.

    png_pixels.py IN.png OUT.ppm

Checks the signature, every chunk's CRC and the zlib stream's own checksum; exits
with status 1 and a message on anything it does not accept."""
import struct
import sys
import zlib


def fail(why):
    sys.stderr.write(why + "\n")
    sys.exit(1)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(kind, row, prev, bpp):
    out = bytearray(row)
    n = len(out)
    if kind == 0:
        return out
    if kind == 1:
        for i in range(bpp, n):
            out[i] = (out[i] + out[i - bpp]) & 255
    elif kind == 2:
        for i in range(n):
            out[i] = (out[i] + prev[i]) & 255
    elif kind == 3:
        for i in range(n):
            left = out[i - bpp] if i >= bpp else 0
            out[i] = (out[i] + ((left + prev[i]) >> 1)) & 255
    elif kind == 4:
        for i in range(n):
            left = out[i - bpp] if i >= bpp else 0
            corner = prev[i - bpp] if i >= bpp else 0
            out[i] = (out[i] + paeth(left, prev[i], corner)) & 255
    else:
        fail("unknown filter type %d" % kind)
    return out


def decode(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("no PNG signature")
    at, idat, header, ended = 8, bytearray(), None, False
    while at < len(data):
        if at + 12 > len(data):
            fail("truncated chunk at %d" % at)
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if len(body) != length or at + 12 + length > len(data):
            fail("chunk %r runs past the end" % kind)
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            fail("bad CRC in chunk %r at %d" % (kind, at))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            ended = True
            break
        at += 12 + length
    if header is None or not ended:
        fail("IHDR or IEND missing")
    width, height, depth, colour, method, filt, interlace = header
    if depth != 8 or colour not in (2, 6) or method or filt or interlace:
        fail("unsupported PNG: depth %d colour %d interlace %d" % (depth, colour, interlace))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(bytes(idat))  # checks the Adler-32 too
    stride = width * bpp
    if len(raw) != height * (stride + 1):
        fail("pixel data is %d bytes, expected %d" % (len(raw), height * (stride + 1)))
    rgb, prev = bytearray(), bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        prev = unfilter(raw[start], raw[start + 1:start + 1 + stride], prev, bpp)
        if bpp == 3:
            rgb += prev
        else:
            for x in range(width):
                rgb += prev[4 * x:4 * x + 3]
    return width, height, rgb


def main():
    if len(sys.argv) != 3:
        fail("usage: png_pixels.py IN.png OUT.ppm")
    with open(sys.argv[1], "rb") as f:
        width, height, rgb = decode(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(rgb)


if __name__ == "__main__":
    main()
