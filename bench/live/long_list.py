#!/usr/bin/env python3
"""A window with one 2,000-row list (two text columns), for the capture
benchmark on a real desktop: the list is far longer than its view."""
import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402

ROWS = 2000


def main():
    store = Gtk.ListStore(str, str)
    for row in range(ROWS):
        store.append([f"Row {row}", f"Value {row * 7 % 1000}"])
    view = Gtk.TreeView(model=store)
    for column, title in enumerate(["Name", "Value"]):
        view.append_column(Gtk.TreeViewColumn(title, Gtk.CellRendererText(), text=column))
    scrolled = Gtk.ScrolledWindow()
    scrolled.add(view)
    window = Gtk.Window(title="Long list")
    window.set_default_size(480, 640)
    window.add(scrolled)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
