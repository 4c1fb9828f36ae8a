#!/usr/bin/env python3
"""Writes the toolbar pictures (22x20 XPM, 16-colour VGA palette).

Each figure comes in a grey "normal" version and a coloured "hot" version.
The .xpm files are the real artifacts; this script only regenerates them:
    python3 data/toolbar/generate.py
"""
import math
import os

W, H = 22, 20

# One XPM character per colour.
PALETTE = {
    '.': 'None',
    '#': '#000000',  # black
    'n': '#000080',  # navy
    'g': '#008000',  # green
    't': '#008080',  # teal
    'm': '#800000',  # maroon
    'p': '#800080',  # purple
    'o': '#808000',  # olive
    's': '#C0C0C0',  # silver
    'x': '#808080',  # grey
    'b': '#0000FF',  # blue
    'l': '#00FF00',  # lime
    'c': '#00FFFF',  # cyan
    'r': '#FF0000',  # red
    'M': '#FF00FF',  # magenta
    'y': '#FFFF00',  # yellow
    'w': '#FFFFFF',  # white
}


def blank():
    return [['.'] * W for _ in range(H)]


def from_rows(rows):
    assert len(rows) == H, len(rows)
    for r in rows:
        assert len(r) == W, (len(r), r)
    return [list(r) for r in rows]


def recolour(grid, mapping):
    return [[mapping.get(ch, ch) for ch in row] for row in grid]


def shape_pixels(inside):
    """Set of (x, y) whose pixel centre satisfies inside(cx, cy)."""
    return {(x, y) for y in range(H) for x in range(W) if inside(x + 0.5, y + 0.5)}


def paint_shape(grid, pix, fill, top, bottom, left=None, right=None):
    """Fill a pixel set; pixels on its border get the colour of the side they face.

    A pixel with free space above gets `top`, below gets `bottom`; left/right
    edges default to the top/bottom colours (light from the upper left).
    """
    left = top if left is None else left
    right = bottom if right is None else right
    for (x, y) in pix:
        ch = fill
        if (x + 1, y) not in pix:
            ch = right
        if (x - 1, y) not in pix:
            ch = left
        if (x, y + 1) not in pix:
            ch = bottom
        if (x, y - 1) not in pix:
            ch = top
        grid[y][x] = ch


def inner_ring(pix):
    """Pixels of the set that are not on its outer border."""
    return {(x, y) for (x, y) in pix
            if all(n in pix for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))}


def in_polygon(px, py, poly):
    inside = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            xc = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
            if px < xc:
                inside = not inside
    return inside


# ---------------------------------------------------------------- arrows

def arrow_left_pixels():
    def inside(cx, cy):
        dy = abs(cy - 10.0)
        if 1 <= cx <= 10.5:            # head
            return dy <= 0.6 + (cx - 1) * 0.92
        if 10.5 < cx <= 20.5:          # shaft
            return dy <= 3.6
        return False
    return shape_pixels(inside)


def draw_arrow(hot, mirror):
    g = blank()
    pix = arrow_left_pixels()
    if mirror:
        pix = {(W - 1 - x, y) for (x, y) in pix}
    if hot:
        paint_shape(g, pix, 'c', top='b', bottom='#', left='b', right='#')
        # a white glint along the upper edge of the shaft
        for (x, y) in pix:
            if (x, y - 1) in pix and (x, y - 2) not in pix and g[y][x] == 'c' and 10 <= min(x, W - 1 - x):
                g[y][x] = 'w'
    else:
        paint_shape(g, pix, 's', top='#', bottom='#')
        inner = inner_ring(pix)
        # white highlight just inside the upper edge, grey shade inside the lower
        for (x, y) in inner:
            if (x, y - 1) not in inner:
                g[y][x] = 'w'
            elif (x, y + 1) not in inner:
                g[y][x] = 'x'
    return g


# ---------------------------------------------------------------- stop

def draw_stop(hot):
    g = blank()
    cx0, cy0, rad = 11.0, 10.0, 9.7
    disc = shape_pixels(lambda cx, cy: math.hypot(cx - cx0, cy - cy0) <= rad)
    fill, shade, light = ('r', 'm', 'y') if hot else ('x', '#', 's')
    paint_shape(g, disc, fill, '#', '#')
    for (x, y) in disc:
        if g[y][x] == '#':
            continue
        dx, dy = x + 0.5 - cx0, y + 0.5 - cy0
        d = math.hypot(dx, dy)
        ang = math.degrees(math.atan2(-dy, dx))  # 0 = right, 90 = up
        # darker rim on the lower right
        if d > rad - 2.0 and -85 <= ang <= -5:
            g[y][x] = shade
        # highlight crescent on the upper left
        if rad - 3.0 <= d <= rad - 1.4 and 100 <= ang <= 170:
            g[y][x] = light
    # white diagonal cross
    for (x, y) in disc:
        dx, dy = x + 0.5 - cx0, y + 0.5 - cy0
        if max(abs(dx), abs(dy)) <= 4.3 and (abs(dx - dy) <= 1.5 or abs(dx + dy) <= 1.5):
            g[y][x] = 'w'
    return g


# ---------------------------------------------------------------- refresh

REFRESH = [
    "......................",
    ".##############.......",
    ".#wwwwwwwwwwww##......",
    ".#wwwwwwwwwwww#s#.....",
    ".#wwwwwwwwwwww#ss#....",
    ".#wwwwwwwaaaaw#####x..",
    ".#wwwwwaaaaaaaawwww#x.",
    ".#wwwwaaawwwwaaawww#x.",
    ".#wwwwaawwwwwwaawww#x.",
    ".#wwwwwwwwwwaaaaaaw#x.",
    ".#wwwwaawwwwwaaaaww#x.",
    ".#wwwaaaawwwwwaawww#x.",
    ".#wwaaaaaawwwwwwwww#x.",
    ".#wwwwaawwwwwwaawww#x.",
    ".#wwwwaaawwwwaaawww#x.",
    ".#wwwwwaaaaaaaawwww#x.",
    ".#wwwwwwwaaaawwwwww#x.",
    ".#wwwwwwwwwwwwwwwww#x.",
    ".###################x.",
    "..xxxxxxxxxxxxxxxxxxx.",
]


def draw_refresh(hot):
    g = from_rows(REFRESH)
    return recolour(g, {'a': 'g' if hot else '#'})


# ---------------------------------------------------------------- home

def draw_home(hot):
    g = blank()
    # chimney on the right-hand slope, drawn first so the roof covers its foot
    for y in range(0, 8):
        for x in range(14, 18):
            edge = x in (14, 17) or y == 0
            g[y][x] = '#' if edge else ('r' if hot else 's')
    # gable (the triangle under the roof) and walls, both white
    for y in range(1, 19):
        for x in range(3, 19):
            if y >= 10 or 12 - y <= x <= 9 + y:
                g[y][x] = 'w'
    for y in range(10, 19):
        g[y][3] = '#'
        g[y][18] = '#'
    for x in range(3, 19):
        g[18][x] = '#'
    # roof: a band along both slopes, apex at the top, eaves overhanging
    band = ['#', 'y', 'y', 'o'] if hot else ['#', 's', 's', '#']
    for k in range(0, 10):
        lo, hi = 10 - k, 11 + k
        for i, ch in enumerate(band):
            if lo + i <= hi - i:
                if 0 <= lo + i < W:
                    g[k][lo + i] = ch
                if 0 <= hi - i < W:
                    g[k][hi - i] = ch
        if k == 9:  # underside of the eaves
            for x in (lo, lo + 1, lo + 2, hi - 2, hi - 1, hi):
                g[k][x] = '#'
    # door with a knob
    for y in range(12, 18):
        for x in range(9, 13):
            edge = x in (9, 12) or y == 12
            g[y][x] = '#' if edge else ('y' if hot else 'x')
    g[15][11] = '#' if hot else 'w'
    # two windows
    for (x0, y0) in ((5, 12), (14, 12)):
        for y in range(y0, y0 + 4):
            for x in range(x0, x0 + 3):
                edge = y in (y0, y0 + 3) or x in (x0, x0 + 2)
                g[y][x] = '#' if edge else ('c' if hot else 's')
    return g


# ---------------------------------------------------------------- print

PRINTER = [
    "......................",
    ".....############.....",
    ".....#wwwwwwwwww#.....",
    ".....#wLLLLLLLLw#.....",
    ".....#wwwwwwwwww#.....",
    ".....#wLLLLLLLLw#.....",
    ".....#wwwwwwwwww#.....",
    ".....#wLLLLLLwww#.....",
    "...###wwwwwwwwww###...",
    "..#ws############sx#..",
    ".#wsssssssssssssssss#.",
    ".####################.",
    ".#wwwwwwwwwwwwwwwwsx#.",
    ".#ws############sssx#.",
    ".#wsxxxxxxxxxxxxsAAx#.",
    ".#wsssssssssssssBBsx#.",
    ".#xxxxxxxxxxxxxxxxxx#.",
    ".####################.",
    "..###............###..",
    "......................",
]


def draw_print(hot):
    g = from_rows(PRINTER)
    if hot:
        return recolour(g, {'L': 'b', 'A': 'l', 'B': 'g'})
    return recolour(g, {'L': 'x', 'A': 'x', 'B': 'x'})


# ---------------------------------------------------------------- font

A_OUTER = [(8.5, 1), (13.5, 1), (21, 19), (15.5, 19), (14.2, 15), (7.8, 15), (6.5, 19), (1, 19)]
A_COUNTER = [(11, 5.6), (13.1, 11.6), (8.9, 11.6)]


def draw_font(hot):
    g = blank()
    pix = shape_pixels(lambda cx, cy: in_polygon(cx, cy, A_OUTER) and not in_polygon(cx, cy, A_COUNTER))
    if hot:
        paint_shape(g, pix, 'c', 'b', 'b')
    else:
        paint_shape(g, pix, 'w', '#', '#')
    return g


# ---------------------------------------------------------------- output

FIGURES = [
    ('back', lambda hot: draw_arrow(hot, mirror=False)),
    ('forward', lambda hot: draw_arrow(hot, mirror=True)),
    ('stop', draw_stop),
    ('refresh', draw_refresh),
    ('home', draw_home),
    ('print', draw_print),
    ('font', draw_font),
]


def write_xpm(path, var, grid):
    assert len(grid) == H and all(len(r) == W for r in grid)
    used = sorted({ch for row in grid for ch in row}, key=lambda c: list(PALETTE).index(c))
    lines = ['/* XPM */', 'static const char *%s[] = {' % var,
             '/* columns rows colours chars-per-pixel */',
             '"%d %d %d 1",' % (W, H, len(used))]
    for ch in used:
        lines.append('"%s c %s",' % (ch, PALETTE[ch]))
    lines.append('/* pixels */')
    body = ['"%s"' % ''.join(row) for row in grid]
    lines.append(',\n'.join(body))
    lines.append('};')
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in FIGURES:
        write_xpm(os.path.join(here, name + '.xpm'), name + '_xpm', draw(False))
        write_xpm(os.path.join(here, name + '_hot.xpm'), name + '_hot_xpm', draw(True))


if __name__ == '__main__':
    main()
