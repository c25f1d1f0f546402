# SPDX-License-Identifier: GPL-3.0-or-later
"""The print preview as it opens: the page fills at least half of the
window's height (or width), not a thumbnail in a large grey field."""

import unittest

import xsession as xs
from screen_support import ProgramCase, click, key

WHITE = bytes((255, 255, 255))


def white_box(shot, rect):
    """The bounding box of the white pixels inside rect: (x, y, w, h)."""
    x, y, w, h = rect
    xs_, ys = [], []
    for yy in range(max(y, 0), min(y + h, shot.height)):
        row = yy * shot.width * 3
        line = shot.pixels[row + max(x, 0) * 3:row + min(x + w, shot.width) * 3]
        first = -1
        for i in range(0, len(line), 3):
            if line[i:i + 3] == WHITE:
                first = i // 3
                break
        if first < 0:
            continue
        last = first
        for i in range(len(line) - 3, first * 3 - 1, -3):
            if line[i:i + 3] == WHITE:
                last = i // 3
                break
        xs_ += [first, last]
        ys.append(yy)
    if not ys:
        return (0, 0, 0, 0)
    return (x + min(xs_), min(ys), max(xs_) - min(xs_) + 1, max(ys) - min(ys) + 1)


class Preview(ProgramCase):
    def test_page_fills_the_preview_when_it_opens(self):
        self.start()
        # A click on the page first, as a user's, so that the window has the
        # keyboard.
        click(self.cell(self.page("Clone comment"), "Clone comment", 0))
        before = set(self.program.windows())
        key("ctrl+p")
        dialog = self.new_window(before, "the printer dialog")
        # Print to File (PDF), the choice a machine without printers has.
        key("Return")
        xs.wait_for(lambda: dialog not in self.program.windows(), what="the dialog to close")
        preview = self.new_window(before | {dialog}, "the preview")
        x, y, w, h = xs.wait_for(lambda: (lambda g: g if g[3] > 100 else None)(
            xs.window_geometry(preview)), what="the preview's size")
        # The view between the tool bar and the status bar (their white
        # fields are no page); the first paint may take a moment.
        view = (x, y + 40, w, h - 80)
        page = xs.wait_for(lambda: (lambda b: b if b[2] > 0 else None)(
            white_box(xs.grab(), view)), what="a page in the preview")
        xs.grab(keep=self.keep("preview.png"))
        self.assertTrue(page[3] * 2 >= view[3] or page[2] * 2 >= view[2],
                        "the page %s is small in the preview's view %s" % (page, view))


if __name__ == "__main__":
    unittest.main()
