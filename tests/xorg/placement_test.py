# SPDX-License-Identifier: GPL-3.0-or-later
"""Windows stay on the screen at QT_SCALE_FACTOR=2: the main window placed
from bounds saved at scale 1, its status bar, the bounds it saves, and a
message box, all inside the screen as the X server shows it."""

import os
import shutil
import tempfile
import unittest

import xsession as xs
from screen_support import ProgramCase, extents


def inside(rect, width, height):
    x, y, w, h = rect
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height


class ScaleTwo(ProgramCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="seaclone-xorg-files-")
        self.addCleanup(shutil.rmtree, self.files, True)
        self.screen = xs.root_size()

    def start_at_scale_two(self, *args, bounds=(40, 30, 1000, 800)):
        """Bounds as a run at scale 1 on this screen saved them."""
        left, top, width, height = bounds
        return self.start(*args, scale=2, settings={
            "Window Position": {"Left": left, "Top": top, "Width": width, "Height": height}})

    def assertOnScreen(self, rect, what):
        self.assertTrue(inside(rect, *self.screen), "%s at %s leaves the %dx%d screen"
                        % (what, rect, *self.screen))

    def test_main_window_and_status_bar_stay_on_screen_and_are_saved_so(self):
        p = self.start_at_scale_two()
        self.assertOnScreen(xs.window_geometry(self.main), "the main window")
        bar = xs.find(self.frame, lambda o: xs.role_name(o) == "status bar", "the status bar")
        self.assertOnScreen(extents(bar), "the status bar")

        xs.close_window(self.main)
        self.assertEqual(p.process.wait(20), 0)
        saved = p.read_settings()["Window Position"]
        # Device-independent pixels: half the screen at scale 2.
        rect = (int(saved["Left"]) * 2, int(saved["Top"]) * 2, int(saved["Width"]) * 2,
                int(saved["Height"]) * 2)
        self.assertOnScreen(rect, "the saved bounds (at scale 2)")

    def test_message_box_is_centred_on_the_screen(self):
        # Placed by its final size: a box measured before it wrapped its
        # text stood off the centre, and a long one off the left edge.
        bad = os.path.join(self.files, "Notes.dat")
        with open(bad, "w") as f:
            f.write("not a clone file\n")
        p = xs.Program(scale=2)
        self.addCleanup(p.cleanup)
        p.start(bad)
        box = p.titled(xs.APP_TITLE)
        x, y, w, h = xs.wait_for(lambda: (lambda g: g if g[2] > 50 else None)(xs.window_geometry(box)),
                                 what="the box's size")
        self.assertOnScreen((x, y, w, h), "the message box")
        width, height = self.screen
        self.assertLessEqual(abs(x + w // 2 - width // 2), 2, (x, y, w, h))
        self.assertLessEqual(abs(y + h // 2 - height // 2), 2, (x, y, w, h))


if __name__ == "__main__":
    unittest.main()
