# SPDX-License-Identifier: GPL-3.0-or-later
"""The drop-down list as it reaches the screen: its entries are painted (not
an empty box) and readable through the accessibility bus."""

import unittest

import xsession as xs
from screen_support import ProgramCase, click, key


class Chooser(ProgramCase):
    def open_list(self, row_label):
        common = self.open_tree_node("Common settings", row_label)
        cell = self.cell(common, row_label)
        current = cell.name
        click(cell)
        before = set(self.program.windows())
        key("Return")
        popup = self.new_window(before, "the drop-down list of %r" % row_label)
        xs.wait_for(lambda: xs.window_geometry(popup)[3] > 10, what="the list's size")
        return popup, current

    def test_list_is_painted_and_its_entries_are_announced(self):
        self.start()
        for row_label in ("TX power", "Channel number extension"):
            with self.subTest(row_label):
                popup, current = self.open_list(row_label)
                x, y, w, h = xs.window_geometry(popup)
                shot = xs.grab(keep=self.keep("chooser.png"))
                # Inside the frame: the entries' text in a dark colour on the
                # list's background, not one flat colour.
                inner = (x + 2, y + 2, w - 4, h - 4)
                colours = shot.colours(inner)
                self.assertGreater(len(colours), 2, "the list at %s is blank" % (inner,))
                dark = [c for c in colours if sum(c) < 200]
                self.assertTrue(dark, "no text drawn in the list at %s" % (inner,))

                # Announced: the entries, the current value among them.
                entries = xs.wait_for(lambda: [
                    o.name for top in xs.children(self.app) if top is not None and
                    top.name != self.frame.name
                    for o in xs.find_all(top, lambda o: bool(o.name), skip_tables=False)],
                    5, "the list's entries on the accessibility bus")
                self.assertIn(current, entries)
                self.assertGreaterEqual(len(set(entries)), 2, entries)
                key("Escape")
                xs.wait_for(lambda: popup not in self.program.windows(), what="the list to close")


if __name__ == "__main__":
    unittest.main()
