#!/usr/bin/python3
"""Writes resources/HAND-M.CUR: a 32 x 32 pointing hand as a Windows cursor file.

The hand is drawn from the picture below ('#' black edge, '.' white inside,
' ' transparent). The hot spot is the fingertip.
Usage: make-cursor.py [output path]
"""

import os
import struct
import sys

OUTLINE = [
    "     ##           ",
    "    #..#          ",
    "    #..#          ",
    "    #..#          ",
    "    #..#          ",
    "    #..###        ",
    "    #..#..###     ",
    "    #..#..#..##   ",
    " ## #..#..#..#.## ",
    "#..##..#..#..#..# ",
    "#...#...........# ",
    " #..............# ",
    "  #.............# ",
    "  #............#  ",
    "   #...........#  ",
    "   #..........#   ",
    "    #.........#   ",
    "    #.........#   ",
    "    ###########   ",
]
SIZE = 32
HOT_SPOT = (5, 0)


def pixels():
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for y, line in enumerate(OUTLINE):
        for x, mark in enumerate(line):
            grid[y][x] = mark
    return grid


def cursor_bytes(grid):
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):            # device-independent bitmaps run bottom-up
        bits = 0
        for x in range(SIZE):
            mark = grid[y][x]
            if mark == "#":
                colour += bytes((0, 0, 0, 255))
            elif mark == ".":
                colour += bytes((255, 255, 255, 255))
            else:
                colour += bytes((0, 0, 0, 0))
                bits |= 1 << (SIZE - 1 - x)    # set bits in the AND mask are transparent
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + bytes(colour) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1],
                        len(image), 6 + 16)
    return directory + entry + image


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "..", "resources", "HAND-M.CUR")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    with open(path, "wb") as target:
        target.write(cursor_bytes(pixels()))


if __name__ == "__main__":
    main()
