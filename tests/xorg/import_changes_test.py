# SPDX-License-Identifier: GPL-3.0-or-later
"""File > Import Channels from CSV under a real X server: the list of what
the import changes is on the screen, titled, readable on the
accessibility bus with its warning marked, and nothing is applied before
Apply; Cancel leaves the page and the window's title as they were."""

import os
import shutil
import tempfile
import unittest

import xsession as xs
from screen_support import ProgramCase, click, extents, key, type_text

INITIAL = os.path.join(xs.BIN_DIR, "TB58_00_USA.DAT")
TITLE = "Import from CSV"


class ImportChanges(ProgramCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="seaclone-xorg-files-")
        self.addCleanup(shutil.rmtree, self.files, True)
        self.boat = os.path.join(self.files, "Boat.dat")
        shutil.copyfile(INITIAL, self.boat)
        # A frequency with a decimal comma, a comment a spreadsheet made a
        # time of, and a frequency it only rewrote.
        self.csv = os.path.join(self.files, "edits.csv")
        with open(self.csv, "w") as f:
            f.write("Page,GI_Sheet_Common_Plans,Radio and Channel Plans,,\r\n"
                    "Channel plan,In use,,\r\n"
                    "Clone comment,12:30:00,,\r\n"
                    "Page,GI_Sheet_FreeCh,Free Channels,,\r\n"
                    "No.,Receive (MHz),,\r\n"
                    "1,\"156,8\",,\r\n"
                    "2,155.525,,\r\n")
        self.start(self.boat)
        xs.wait_for(lambda: xs.window_title(self.main).get("_NET_WM_NAME") ==
                    "Boat.dat - " + xs.APP_TITLE, what="the file's name in the title")

    def comment(self):
        return self.cell(self.page("Clone comment"), "Clone comment").name

    def import_list(self):
        """Chooses the CSV through File > Import and returns the list's
        dialog. The item is clicked through the X server: an action over
        the bus would wait for the file dialog to close."""
        windows = set(self.program.windows())
        menu = xs.find(self.app, xs.named("File", "menu item"), "the File menu")
        click(menu)
        item = xs.find(self.app, xs.named("Import Channels from CSV...", "menu item"),
                       "the menu item")
        xs.wait_for(lambda: extents(item)[2] > 0, what="the open File menu")
        click(item)
        xs.wait_for(lambda: set(self.program.windows()) - windows, what="the open dialog")
        type_text(self.csv)
        key("Return")
        return xs.find(self.app, lambda o: xs.role_name(o) == "dialog" and o.name == TITLE,
                       "the dialog %r" % TITLE)

    def press(self, dialog, name):
        button = xs.find(dialog, lambda o: xs.role_name(o) == "push button" and
                         o.name.replace("&", "") == name, "the button %r" % name)
        xs.do_action(button)
        xs.wait_for(lambda: all(c.name != TITLE for c in xs.children(self.app)),
                    what="the dialog to close")

    def test_the_list_is_shown_and_cancel_or_apply(self):
        self.assertEqual(self.comment(), "")
        dialog = self.import_list()
        table = xs.find(dialog, lambda o: xs.role_name(o) == "table", "the list")
        rows = xs.table_cells(table)
        self.assertEqual(len(rows), 3, rows)
        self.assertEqual(rows[0][:5], ["Radio and Channel Plans", "Clone comment", "In use", "",
                                       "12:30:00"])
        self.assertIn("warning", rows[0][5])
        self.assertEqual(rows[1][1:5], ["1", "Receive (MHz)", "155.50000", "156.80000"])
        self.assertIn("kept", rows[2][5])
        shot = self.keep("import-changes.png")
        if shot:
            xs.grab(keep=shot)

        # Cancel: the page and the title as they were.
        self.press(dialog, "Cancel")
        self.assertEqual(self.comment(), "")
        self.assertEqual(xs.window_title(self.main).get("_NET_WM_NAME"),
                         "Boat.dat - " + xs.APP_TITLE)

        # Apply: the page shows the new value.
        self.press(self.import_list(), "Apply")
        xs.wait_for(lambda: self.comment() == "12:30:00", what="the imported comment on the page")


if __name__ == "__main__":
    unittest.main()
