# SPDX-License-Identifier: GPL-3.0-or-later
"""The drop-down list as it reaches the screen: its entries are painted (not
an empty box) and readable through the accessibility bus."""

import unittest

import pyatspi
from gi.repository import GLib

import xsession as xs
from screen_support import ProgramCase, click, key


class Chooser(ProgramCase):
    def open_list(self, row_label):
        common = self.open_tree_node("Common settings", row_label)
        cell = self.cell(common, row_label)
        current = cell.name
        click(cell)
        before = set(self.program.windows())
        # Qt leaves popup windows out of the application's children on the
        # bus; a screen reader meets the list as the focus moves into it.
        self.focused = []

        def focused(event):
            if event.detail1:
                self.focused.append(event.source)

        pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
        GLib.timeout_add(300, lambda: key("Return") and False)
        GLib.timeout_add(2500, lambda: pyatspi.Registry.stop() and False)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(focused, "object:state-changed:focused")
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

                # Announced: the focus lands on the current entry, an item
                # of a list that holds every entry.
                items = [o for o in self.focused if xs.role_name(o) == "list item"]
                self.assertTrue(items, "no list item took the focus: %s" %
                                [xs.role_name(o) for o in self.focused])
                item = items[-1]
                self.assertEqual(item.name.strip(), current.strip())
                owner = item.parent
                self.assertEqual(xs.role_name(owner), "list")
                entries = [c.name for c in xs.children(owner)]
                self.assertIn(item.name, entries)
                self.assertGreaterEqual(len(set(entries)), 2, entries)
                key("Escape")
                xs.wait_for(lambda: popup not in self.program.windows(), what="the list to close")


if __name__ == "__main__":
    unittest.main()
