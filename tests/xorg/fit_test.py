# SPDX-License-Identifier: GPL-3.0-or-later
"""Nothing cut: on every page of the tree (maker mode, so the dealer pages
too) and at every font size of the View menu, each cell's text ends before
its column's right edge as the screen shows it. A cut text is drawn up to
the edge: dark pixels in the last columns inside the cell."""

import subprocess
import time
import unittest

import xsession as xs
from screen_support import ProgramCase, click, extents

FONT_SIZES = (75, 100, 125, 150, 200)
EDGE = 3  # pixel columns just inside a cell's right edge that text must leave free


def dark(pixel):
    return sum(pixel) < 300


def cut_cells(shot, table):
    """The visible cells of a table whose text reaches their right edge."""
    tx, ty, tw, th = extents(table)
    t = table.queryTable()
    cut = []
    for r in range(t.nRows):
        for c in range(t.nColumns):
            cell = t.getAccessibleAt(r, c)
            if cell is None or not cell.name.strip():
                continue
            x, y, w, h = extents(cell)
            # Only what is wholly in view: a cell the view's edge cuts is
            # scrolled, not too narrow.
            if w <= EDGE or h <= 4 or x < tx or y < ty or x + w > tx + tw - 16 or y + h > ty + th - 16:
                continue
            for column in range(x + w - EDGE, x + w):
                if any(dark(shot.pixel(column, yy)) for yy in range(y + 2, y + h - 2)):
                    cut.append((r, c, cell.name, (x, y, w, h)))
                    break
    return cut


class Fit(ProgramCase):
    def test_every_cell_text_fits_its_column_at_every_font_size(self):
        found = []
        for size in FONT_SIZES:
            self.start("/kelpish", settings={"View Option": {"FontSize Percentage": size}})
            caution = self.program.titled(xs.APP_TITLE)
            subprocess.run(["xdotool", "windowfocus", str(caution), "key", "Return"], timeout=30)
            xs.wait_for(lambda: any("Dealer" in n.name for n in self.tree_nodes()),
                        what="the dealer pages in the tree")
            for node in [n.name for n in self.tree_nodes()]:
                target = next(n for n in self.tree_nodes() if n.name == node)
                click(target)
                # The page's table with cells in it, then its first paint.
                xs.wait_for(lambda: any(t.queryTable().nRows > 0 for t in self.tables()),
                            what="the page of %r" % node)
                time.sleep(0.3)
                shot = xs.grab()
                if size == max(FONT_SIZES) and "Dealer" in node:
                    xs.grab(keep=self.keep("dealer-%d.png" % size))
                for table in self.tables():
                    for r, c, text, rect in cut_cells(shot, table):
                        found.append("%d %%, %s, row %d column %d: %r at %s"
                                     % (size, node, r, c, text, rect))
            self.program.cleanup()
        self.assertEqual(found, [], "cut:\n" + "\n".join(found[:40]))


if __name__ == "__main__":
    unittest.main()
