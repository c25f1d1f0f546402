# SPDX-License-Identifier: GPL-3.0-or-later
"""What the pages look like on screen: a started program with its main frame
on the accessibility bus, pages opened from the tree, cells found by their
row labels, and keys and clicks sent through the X server."""

import os
import subprocess
import unittest

import xsession as xs


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True, timeout=30)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True, timeout=60)


def extents(obj):
    import pyatspi
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def click(obj, button="1"):
    x, y, w, h = extents(obj)
    subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", button],
                   check=True, timeout=30)


class ProgramCase(unittest.TestCase):
    """A test with one started program; start() takes Program's options."""

    program = None

    def start(self, *args, prepare=None, **options):
        """Starts the program; prepare(program) runs before, e.g. to start
        the simulator."""
        self.program = p = xs.Program(**options)
        self.addCleanup(p.cleanup)
        if prepare:
            prepare(p)
        p.start(*args)
        self.main = p.main_window()
        self.app = p.accessible()
        self.frame = xs.find(self.app, lambda o: xs.role_name(o) == "frame" and
                             o.name.endswith(xs.APP_TITLE), "the main frame")
        return p

    def tables(self):
        return xs.find_all(self.frame, lambda o: xs.role_name(o) == "table")

    def page(self, row_label, timeout=30):
        """The shown page's table once it has a row starting with row_label."""
        def look():
            for t in self.tables():
                if any(r and r[0] == row_label for r in xs.table_cells(t)):
                    return t
            return None
        return xs.wait_for(look, timeout, "a page with the row %r" % row_label)

    def cell(self, table, row_label, column=1):
        t = table.queryTable()
        for r in range(t.nRows):
            first = t.getAccessibleAt(r, 0)
            if first is not None and first.name == row_label:
                return t.getAccessibleAt(r, column)
        raise AssertionError("no row %r" % row_label)

    def tree_nodes(self):
        tree = xs.find(self.frame, lambda o: xs.role_name(o) == "tree", "the tree")
        return [c for c in xs.children(tree) if xs.role_name(c) != "table column header"]

    def open_tree_node(self, name, row_label):
        node = xs.wait_for(lambda: next((c for c in self.tree_nodes() if c.name == name), None),
                           what="the tree node %r" % name)
        click(node)
        return self.page(row_label)

    def new_window(self, before, what):
        return xs.wait_for(lambda: next(iter(set(self.program.windows()) - before), None),
                           what=what)

    def keep(self, name):
        """A path for a screen grab kept for the reader of the test's log,
        in SEACLONE_XORG_SHOTS when set."""
        folder = os.environ.get("SEACLONE_XORG_SHOTS")
        if not folder:
            return None
        os.makedirs(folder, exist_ok=True)
        return os.path.join(folder, name)
