# SPDX-License-Identifier: GPL-3.0-or-later
"""Window titles as the X server holds them (WM_NAME and _NET_WM_NAME): each
window carries its own title once, whatever document is open; no second
title is appended by the window system."""

import os
import shutil
import tempfile
import unittest

import xsession as xs
from screen_support import ProgramCase

INITIAL = os.path.join(xs.BIN_DIR, "TB58_00_USA.DAT")


class Titles(ProgramCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="seaclone-xorg-files-")
        self.addCleanup(shutil.rmtree, self.files, True)

    def assertTitle(self, wid, expected):
        names = xs.window_title(wid)
        self.assertEqual(names.get("WM_NAME"), expected, names)
        self.assertEqual(names.get("_NET_WM_NAME"), expected, names)

    def test_main_window_untitled_then_named_after_the_file(self):
        self.start()
        self.assertTitle(self.main, "Untitled - " + xs.APP_TITLE)
        self.program.cleanup()

        boat = os.path.join(self.files, "Boat.dat")
        shutil.copyfile(INITIAL, boat)
        self.start(boat)
        xs.wait_for(lambda: xs.window_title(self.main).get("WM_NAME", "").startswith("Boat.dat"),
                    what="the file's name in the title")
        self.assertTitle(self.main, "Boat.dat - " + xs.APP_TITLE)

    def test_message_box(self):
        # A file that is no clone data file: the program says so in a box
        # captioned with its name.
        bad = os.path.join(self.files, "Notes.dat")
        with open(bad, "w") as f:
            f.write("not a clone file\n")
        p = xs.Program()
        self.addCleanup(p.cleanup)
        p.start(bad)
        self.assertTitle(p.titled(xs.APP_TITLE), xs.APP_TITLE)

    def test_dialogs_and_windows_carry_only_their_own_title(self):
        def with_radio(program):
            program.start_simulator("--model", "0", "--baud-pace")
            program.write_settings({"Global": {"ComPort": 7}})
        self.start(prepare=with_radio)
        p, app = self.program, self.app

        # Every window the program shows carries the title its accessible
        # frame or dialog announces, once, in both properties.
        def shown_once(menu_item):
            before = set(p.windows())
            xs.do_action(xs.find(app, xs.named(menu_item, "menu item"), menu_item))
            wid = xs.wait_for(lambda: next(iter(set(p.windows()) - before), None),
                              what="the window of %r" % menu_item)
            names = xs.window_title(wid)
            xs.wait_for(lambda: names.get("WM_NAME") in [f.name for f in xs.children(app)],
                        what="a window announced as %r among %r" % (
                            names.get("WM_NAME"), [f.name for f in xs.children(app)]))
            self.assertTitle(wid, names.get("WM_NAME"))
            return wid

        about = shown_once("About Seaclone...")
        xs.close_window(about)
        xs.wait_for(lambda: about not in p.windows(), what="the about box to close")

        helpw = shown_once("Contents")
        xs.close_window(helpw)

        # The progress window of a read from the simulator at 9600 baud.
        progress = shown_once("Read from Radio...")
        self.assertNotIn(xs.APP_TITLE, xs.window_title(progress)["_NET_WM_NAME"])


if __name__ == "__main__":
    unittest.main()
