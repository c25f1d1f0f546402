# SPDX-License-Identifier: GPL-3.0-or-later
"""Stories as a screen-reader user walks them: the menus invoked and the
pages read through the accessibility bus, keys and clicks through the X
server, against the radio simulator. Each asserts what the user is told and
what the radio and the file then hold."""

import os
import shutil
import subprocess
import tempfile
import unittest

import xsession as xs
from screen_support import ProgramCase, click, key, type_text

CLI = os.path.join(xs.BIN_DIR, "seaclone-cli")
INITIAL = os.path.join(xs.BIN_DIR, "TB58_00_USA.DAT")


def pages_csv(path):
    """page title -> {row label: [cells]} of a clone data file, as
    seaclone-cli pages prints them."""
    out = subprocess.run([CLI, "pages", "--format", "csv", path], capture_output=True, text=True,
                         check=True, timeout=60).stdout
    pages, rows = {}, None
    for line in out.splitlines():
        cells = line.rstrip("\r").split(",")
        if cells[0] == "Page":
            rows = pages.setdefault(cells[2], {})
        elif rows is not None and cells[0]:
            rows.setdefault(cells[0], cells[1:])
    return pages


class Stories(ProgramCase):
    def setUp(self):
        self.files = tempfile.mkdtemp(prefix="seaclone-xorg-files-")
        self.addCleanup(shutil.rmtree, self.files, True)
        # The radio holds the USA image with a comment of its own.
        self.served = os.path.join(self.files, "served.dat")
        change = os.path.join(self.files, "comment.csv")
        with open(change, "w") as f:
            f.write("Page,GI_Sheet_Common_Plans,Radio and Channel Plans\n"
                    "Channel plan,In use,Shown on the radio as\n"
                    "Clone comment,FROM THE RADIO,\n")
        subprocess.run([CLI, "import", INITIAL, "--csv", change, "--output", self.served],
                       check=True, capture_output=True, timeout=60)
        self.radio = os.path.join(self.files, "radio.dat")
        sim_log = os.path.join(self.files, "sim.log")
        self.sim_log_path = sim_log

        def with_radio(program):
            program.start_simulator("--image", self.served, "--save", self.radio, "--log", sim_log)
            program.write_settings({"Global": {"ComPort": 7}, "Setup": {"VerifyAfterWrite": 1}})
        self.start(prepare=with_radio)

    # --- what a screen reader offers ---------------------------------------

    def menu(self, item):
        xs.do_action(xs.find(self.app, xs.named(item, "menu item"), "the menu item %r" % item))

    def sim_log(self):
        try:
            with open(self.sim_log_path) as f:
                return f.read()
        except OSError:
            return ""

    def value(self, row_label, column=1):
        return self.cell(self.page(row_label), row_label, column).name

    def answer(self, button, timeout=60):
        """Presses a button of the message box that appears; returns the
        box's text."""
        def box():
            for top in xs.children(self.app):
                if xs.role_name(top) in ("alert", "dialog") and top.name == xs.APP_TITLE:
                    found = xs.find_all(top, lambda o: xs.role_name(o) == "push button" and
                                        o.name.replace("&", "") == button)
                    if found:
                        return top, found[0]
            return None
        top, pressed = xs.wait_for(box, timeout, "a message box with %r" % button)
        text = " ".join(o.name for o in xs.find_all(top, lambda o: xs.role_name(o) == "label"))
        xs.do_action(pressed)
        xs.wait_for(lambda: all(c.name != xs.APP_TITLE or xs.role_name(c) not in ("alert", "dialog")
                                for c in xs.children(self.app)), what="the box to close")
        return text

    # --- the stories ---------------------------------------------------------

    def read_from_radio(self):
        self.menu("Read from Radio...")
        xs.wait_for(lambda: "read end" in self.sim_log(), 60, "the simulator to end the read")
        # The page is laid out again after the read: for a moment it may
        # have no rows at all, or a row whose cell the accessibility bus no
        # longer has (it was found, then went with the old layout).
        def comment_shown():
            try:
                return self.value("Clone comment") == "FROM THE RADIO"
            except (AssertionError, AttributeError):
                return False

        xs.wait_for(comment_shown, 20, "the radio's comment on the first page")
        self.assertEqual(xs.window_title(self.main).get("_NET_WM_NAME"),
                         "Untitled - " + xs.APP_TITLE)

    def test_read_edit_pick_write_with_verify(self):
        self.read_from_radio()

        click(self.cell(self.page("Clone comment"), "Clone comment"))
        type_text("AT THE DOCK")
        key("Return")
        xs.wait_for(lambda: self.value("Clone comment") == "AT THE DOCK", what="the new comment")

        # The drop-down list opens with Enter; Down and Enter take the next
        # entry, as a user who cannot see the list does.
        common = self.open_tree_node("Common settings", "TX power")
        before = self.cell(common, "TX power").name
        click(self.cell(common, "TX power"))
        windows = set(self.program.windows())
        key("Return")
        xs.wait_for(lambda: set(self.program.windows()) - windows, what="the drop-down list")
        key("Down", "Return")
        after = xs.wait_for(lambda: (lambda v: v if v != before else None)(self.value("TX power")),
                            what="a new TX power")

        # Commands that open a modal box are given by their keys: an action
        # invoked over the bus would wait for the box to close.
        key("ctrl+shift+w")
        self.answer("OK")
        said = self.answer("OK", timeout=120)
        self.assertIn("write accepted", self.sim_log())
        self.assertTrue(said, "the success message had no text")
        # Written and read back: the radio holds what the pages showed.
        radio = pages_csv(self.radio)
        self.assertEqual(radio["Common Settings"]["TX power"][0], after)
        self.assertEqual(radio["Radio and Channel Plans"]["Clone comment"][0], "AT THE DOCK")

    def test_read_and_save_as(self):
        self.read_from_radio()
        saved = os.path.join(self.files, "Boat.dat")
        windows = set(self.program.windows())
        key("ctrl+shift+s")
        xs.wait_for(lambda: set(self.program.windows()) - windows, what="the save dialog")
        # The file name field has the focus, holding "Untitled".
        key("ctrl+a")
        type_text(saved)
        key("Return")
        xs.wait_for(lambda: xs.window_title(self.main).get("_NET_WM_NAME") ==
                    "Boat.dat - " + xs.APP_TITLE, 20, "the saved file's name in the title")
        self.assertEqual(pages_csv(saved)["Radio and Channel Plans"]["Clone comment"][0],
                         "FROM THE RADIO")
        # Nothing went to the radio.
        self.assertFalse(os.path.exists(self.radio))


if __name__ == "__main__":
    unittest.main()
