#!/usr/bin/env python3
"""Writes demo/desktop.json, the bundled demo desktop (docs/scene-format.md).

The long lists (a mailbox of 200 messages, a table of 60 attachments) are made
here so the scene stays easy to change; run it again after editing:

    tools/make-demo-desktop.py > demo/desktop.json
"""
import json

SCREEN_W, SCREEN_H = 1512, 982

# Front to back, as the window server lists them.
BROWSER = [180, 60, 1100, 780]
FIND_PANEL = [1000, 100, 400, 150]
TEXTEDIT = [560, 80, 900, 700]
NOTES = [20, 120, 520, 600]
TERMINAL = [-200, 500, 600, 400]
# A Finder window at the back, its top under the menu bar.
DOWNLOADS = [1200, 0, 300, 240]


def frame(x, y, w, h):
    return [x, y, w, h]


def browser_window():
    x0, y0, w, h = BROWSER
    toolbar = {
        "id": "chrome-toolbar", "role": "AXToolbar", "frame": frame(x0, y0 + 28, w, 44),
        "children": [
            {"id": "chrome-back", "role": "AXButton", "description": "Back", "enabled": True,
             "frame": frame(x0 + 12, y0 + 36, 28, 28)},
            {"id": "chrome-forward", "role": "AXButton", "description": "Forward", "enabled": False,
             "frame": frame(x0 + 44, y0 + 36, 28, 28)},
            {"id": "chrome-reload", "role": "AXButton", "description": "Reload", "enabled": True,
             "frame": frame(x0 + 76, y0 + 36, 28, 28)},
            {"id": "chrome-address", "role": "AXTextField", "description": "Address and search bar",
             "value": "mail.example.com/inbox", "enabled": True, "frame": frame(x0 + 116, y0 + 36, 860, 28)},
            {"id": "chrome-profile", "role": "AXPopUpButton", "title": "Profile", "enabled": True,
             "frame": frame(x0 + 1060, y0 + 36, 28, 28)},
        ],
    }
    web_top = y0 + 80
    sidebar = [
        {"id": "mail-compose", "role": "AXLink", "title": "Compose", "enabled": True,
         "frame": frame(190, web_top + 10, 180, 36)},
    ]
    for i, folder in enumerate(["Inbox", "Starred", "Sent", "Drafts", "Spam"]):
        sidebar.append({"id": "folder-" + folder.lower(), "role": "AXLink", "title": folder, "enabled": True,
                        "frame": frame(190, web_top + 60 + 32 * i, 180, 28)})
    sidebar += [
        {"id": "mail-unread-only", "role": "AXCheckBox", "title": "Show unread only", "value": 1,
         "enabled": True, "frame": frame(190, web_top + 240, 180, 24)},
        {"id": "mail-storage", "role": "AXProgressIndicator", "description": "Storage used", "value": 0.42,
         "frame": frame(190, web_top + 640, 180, 8)},
    ]

    messages = []
    senders = ["Ada Byron", "Grace Hopper", "Alan Kay", "Barbara Liskov", "Ken Thompson"]
    subjects = ["Quarterly report Q3 & Q4 <draft>", "Lunch on Friday?", "Build is green again",
                "Re: design review notes", "Invoice #{n}"]
    for i in range(200):
        y = 300 + 40 * i
        messages.append({
            "id": "message-%d" % i, "role": "AXGroup", "frame": frame(420, y, 460, 40),
            "children": [
                {"role": "AXStaticText", "value": senders[i % 5], "frame": frame(430, y + 4, 140, 16)},
                {"role": "AXStaticText", "value": subjects[i % 5].replace("{n}", str(1000 + i)),
                 "frame": frame(430, y + 20, 440, 16)},
            ],
        })
    message_list = {"id": "mail-messages", "role": "AXList", "description": "Messages",
                    "frame": frame(420, 300, 460, 40 * 200), "children": messages}

    rows = []
    for i in range(60):
        y = 560 + 24 * i
        rows.append({
            "id": "attachment-%d" % i, "role": "AXRow", "frame": frame(900, y, 360, 24),
            "children": [
                {"role": "AXCell", "frame": frame(900, y, 260, 24),
                 "children": [{"role": "AXStaticText", "value": "report-%02d.pdf" % i,
                               "frame": frame(904, y + 4, 250, 16)}]},
                {"role": "AXCell", "frame": frame(1160, y, 100, 24),
                 "children": [{"role": "AXStaticText", "value": "%d KB" % (120 + 7 * i),
                               "frame": frame(1164, y + 4, 90, 16)}]},
            ],
        })
    table = {"id": "mail-attachments", "role": "AXTable", "title": "Attachments",
             "frame": frame(900, 560, 360, 24 * 60), "rows": rows,
             "children": [{"ref": "attachment-%d" % i} for i in range(60)] + [
                 {"id": "attachments-scroller", "role": "AXScrollBar", "frame": frame(1250, 560, 10, 280)}]}

    content = [
        {"id": "mail-heading", "role": "AXHeading", "title": "Inbox", "value": 1,
         "frame": frame(420, web_top + 10, 200, 36)},
        {"id": "mail-search", "role": "AXTextField", "description": "Search mail", "value": "quarterly report",
         "enabled": True, "focused": True, "frame": frame(420, web_top + 56, 460, 32),
         "selectedText": "quarterly report", "selectedTextRange": [0, 16],
         "settable": ["AXValue", "AXSelectedTextRange"],
         "parameterized": {"AXBoundsForRange": {"rect": [428, web_top + 62, 132, 20]},
                           "AXStringForRange": "quarterly report"}},
        {"id": "mail-select-all", "role": "AXCheckBox", "title": "Select all", "value": 0, "enabled": True,
         "frame": frame(420, web_top + 100, 24, 24)},
        {"id": "mail-archive", "role": "AXButton", "title": "Archive", "enabled": True,
         "frame": frame(460, web_top + 100, 80, 24), "actions": ["AXPress"]},
        {"id": "mail-delete", "role": "AXButton", "title": "Delete", "enabled": True,
         "frame": frame(550, web_top + 100, 80, 24), "actions": ["AXPress"]},
        {"id": "mail-more", "role": "AXPopUpButton", "roleDescription": "pop up button", "enabled": True,
         "frame": frame(640, web_top + 100, 40, 24)},
        message_list,
        {"id": "mail-attachments-heading", "role": "AXHeading", "title": "Attachments", "value": 2,
         "frame": frame(900, 520, 360, 30)},
        table,
        {"id": "mail-footer", "role": "AXStaticText", "value": "Last account activity: 3 minutes ago",
         "frame": frame(420, 1200, 300, 16)},
    ]
    web_area = {"id": "chrome-web-area", "role": "AXWebArea", "title": "Inbox - Mail",
                "frame": frame(x0, web_top, w, h - 80), "children": sidebar + content}
    return {
        "id": "chrome-window", "role": "AXWindow", "subrole": "AXStandardWindow",
        "title": "Inbox - Mail - Google Chrome", "frame": BROWSER, "focused": True,
        "actions": ["AXRaise"],
        "children": [
            toolbar,
            {"id": "chrome-content", "role": "AXGroup", "frame": frame(x0, web_top, w, h - 80),
             "children": [{"id": "chrome-scroll", "role": "AXScrollArea", "frame": frame(x0, web_top, w, h - 80),
                           "children": [web_area]}]},
        ],
    }


def notes_window():
    x0, y0, w, h = NOTES
    folders = []
    for i, name in enumerate(["All iCloud", "Notes", "Recipes", "Travel", "Recently Deleted"]):
        folders.append({"id": "notes-folder-%d" % i, "role": "AXRow", "frame": frame(x0 + 8, y0 + 60 + 28 * i, 140, 26),
                        "children": [{"role": "AXCell", "frame": frame(x0 + 8, y0 + 60 + 28 * i, 140, 26),
                                      "children": [{"role": "AXStaticText", "value": name,
                                                    "frame": frame(x0 + 14, y0 + 64 + 28 * i, 120, 18)}]}]})
    return {
        "id": "notes-window", "role": "AXWindow", "title": "Groceries", "frame": NOTES,
        "children": [
            {"id": "notes-folders", "role": "AXOutline", "description": "Folders",
             "frame": frame(x0, y0 + 52, 150, h - 52), "rows": folders},
            # Everything right of x = 180 lies under the browser window.
            {"id": "notes-new-note", "role": "AXButton", "description": "New Note", "enabled": True,
             "frame": frame(x0 + 470, y0 + 12, 30, 24)},
            {"id": "notes-share", "role": "AXButton", "description": "Share", "enabled": True,
             "frame": frame(x0 + 430, y0 + 12, 30, 24)},
            {"id": "notes-body", "role": "AXTextArea", "value": "Milk\nEggs\nCoffee beans", "enabled": True,
             "frame": frame(x0 + 170, y0 + 52, 340, h - 60)},
        ],
    }


def textedit_windows():
    fx, fy, fw, fh = FIND_PANEL
    find = {
        "id": "textedit-find", "role": "AXWindow", "subrole": "AXFloatingWindow", "title": "Find", "frame": FIND_PANEL,
        "children": [
            {"id": "find-field", "role": "AXSearchField", "description": "Find", "value": "revenue",
             "enabled": True, "frame": frame(fx + 12, fy + 40, 260, 24)},
            {"id": "find-previous", "role": "AXButton", "title": "Previous", "enabled": True,
             "frame": frame(fx + 280, fy + 40, 50, 24)},
            {"id": "find-next", "role": "AXButton", "title": "Next", "enabled": True,
             "frame": frame(fx + 336, fy + 40, 50, 24)},
            {"id": "find-done", "role": "AXButton", "title": "Done", "enabled": True,
             "frame": frame(fx + 336, fy + 100, 50, 24)},
        ],
    }
    x0, y0, w, h = TEXTEDIT
    main = {
        "id": "textedit-main", "role": "AXWindow", "subrole": "AXStandardWindow", "title": "Quarterly Report.rtf",
        "frame": TEXTEDIT,
        "children": [
            {"id": "textedit-scroll", "role": "AXScrollArea", "frame": frame(x0, y0 + 52, w, h - 52),
             "children": [
                 {"id": "textedit-text", "role": "AXTextArea", "enabled": True,
                  "value": "Quarterly Report\n\nRevenue grew 12% over the previous quarter.",
                  "frame": frame(x0, y0 + 52, w - 16, h - 52), "settable": ["AXValue"]},
                 {"id": "textedit-scrollbar", "role": "AXScrollBar", "frame": frame(x0 + w - 16, y0 + 52, 16, h - 52),
                  "children": [{"role": "AXValueIndicator", "frame": frame(x0 + w - 14, y0 + 60, 12, 80)}]},
             ]},
            {"id": "textedit-font-size", "role": "AXComboBox", "description": "Font size", "value": "12",
             "enabled": True, "frame": frame(x0 + w - 120, y0 + 30, 60, 20)},
        ],
    }
    return find, main


def terminal_window():
    x0, y0, w, h = TERMINAL
    return {
        "id": "terminal-window", "role": "AXWindow", "title": "zsh \u2014 80\u00d724", "frame": TERMINAL,
        "children": [{"id": "terminal-text", "role": "AXTextArea", "description": "shell",
                      "value": "~ % make test\nall tests passed", "frame": frame(x0, y0 + 28, w, h - 28)}],
    }


def overlay_window():
    return {
        "id": "overlay-window", "role": "AXWindow", "title": "Tessary Overlay", "frame": [0, 0, SCREEN_W, SCREEN_H],
        "children": [{"id": "overlay-prompt", "role": "AXTextField", "description": "Ask anything",
                      "enabled": True, "frame": frame(506, 820, 500, 40)}],
    }


def downloads_window():
    x0, y0, w, h = DOWNLOADS
    return {
        "id": "finder-downloads", "role": "AXWindow", "subrole": "AXStandardWindow", "title": "Downloads",
        "frame": DOWNLOADS,
        "children": [{"id": "finder-downloads-list", "role": "AXList", "description": "Downloads",
                      "frame": frame(x0, y0 + 52, w, h - 52)}],
    }


def raisable(applications):
    """Every application window takes AXRaise and becomes main and focused, as pane-raise asks."""
    for app in applications:
        element = app.get("element")
        if not element:
            continue
        element["settable"] = element.get("settable", []) + ["AXFocusedWindow"]
        for win in element.get("windows", []):
            if "AXRaise" not in win.get("actions", []):
                win["actions"] = win.get("actions", []) + ["AXRaise"]
            win["settable"] = win.get("settable", []) + ["AXMain", "AXFocused"]
    return applications


def window(owner, pid, name, bounds, **extra):
    entry = {"owner": owner, "pid": pid}
    if name is not None:
        entry["name"] = name
    entry["bounds"] = bounds
    entry.update(extra)
    return entry


def scene():
    find, textedit_main = textedit_windows()
    return {
        "comment": "A working day: the browser in front with a mailbox, Notes and TextEdit behind it, a Terminal "
                   "half off the left edge, and the host's transparent overlay over everything.",
        "mainScreen": {"x": 0, "y": 0, "w": SCREEN_W, "h": SCREEN_H},
        "screens": [{"x": 0, "y": 0, "w": SCREEN_W, "h": SCREEN_H}],
        "pointer": {"x": 640, "y": 420},
        # Run by hand, the programs pace themselves as on a Mac.
        "realTime": True,
        "frontmostApplication": 501,
        "raiseBringsWindowForward": True,
        "applications": raisable([
            {"pid": 501, "name": "Google Chrome", "bundleIdentifier": "com.google.Chrome",
             "bundlePath": "/Applications/Google Chrome.app",
             "element": {"id": "chrome", "settable": ["AXManualAccessibility", "AXEnhancedUserInterface"],
                         "windows": [browser_window()]}},
            {"pid": 502, "name": "Notes", "bundleIdentifier": "com.apple.Notes",
             "element": {"id": "notes", "windows": [notes_window()]}},
            {"pid": 503, "name": "TextEdit", "bundleIdentifier": "com.apple.TextEdit",
             "element": {"id": "textedit", "windows": [find, textedit_main]}},
            {"pid": 504, "name": "Terminal", "bundleIdentifier": "com.apple.Terminal",
             "element": {"id": "terminal", "windows": [terminal_window()]}},
            {"pid": 900, "name": "Tessary", "bundleIdentifier": "com.tessary.desktop",
             "element": {"id": "tessary", "windows": [overlay_window()]}},
            {"pid": 300, "name": "Finder", "bundleIdentifier": "com.apple.finder",
             "bundlePath": "/System/Library/CoreServices/Finder.app",
             "element": {"id": "finder", "windows": [downloads_window()]}},
            {"pid": 310, "name": "Dock", "bundleIdentifier": "com.apple.dock"},
        ]),
        "systemWide": {"focusedElement": {"ref": "mail-search"}},
        "windowList": [
            window("Window Server", 160, "Menubar", [0, 0, SCREEN_W, 33], layer=24),
            window("Control Center", 320, None, [1380, 0, 32, 33], layer=25),
            window("Tessary", 900, "Tessary Overlay", [0, 0, SCREEN_W, SCREEN_H], layer=3, element="overlay-window"),
            window("Dock", 310, "Dock", [0, 902, SCREEN_W, 80], layer=20),
            window("Google Chrome", 501, "Inbox - Mail - Google Chrome", BROWSER, element="chrome-window"),
            window("TextEdit", 503, "Find", FIND_PANEL, element="textedit-find"),
            window("TextEdit", 503, "Quarterly Report.rtf", TEXTEDIT, element="textedit-main"),
            window("Notes", 502, "Groceries", NOTES, element="notes-window"),
            window("Terminal", 504, "zsh \u2014 80\u00d724", TERMINAL, element="terminal-window"),
            window("Finder", 300, "Downloads", DOWNLOADS, element="finder-downloads"),
            window("Notes", 502, "Shopping List", [200, 150, 500, 400], onscreen=False),
            window("Finder", 300, None, [0, 0, SCREEN_W, SCREEN_H], layer=-2147483603),
            window("Dock", 310, "Desktop Picture - Sonoma.heic", [0, 0, SCREEN_W, SCREEN_H], layer=-2147483624),
        ],
    }


def dump(value, indent=0):
    """JSON with small objects on one line, so the long lists stay readable."""
    flat = json.dumps(value, ensure_ascii=False)
    if len(flat) + indent <= 200 or not isinstance(value, (dict, list)):
        return flat
    pad = " " * (indent + 2)
    if isinstance(value, list):
        items = [pad + dump(item, indent + 2) for item in value]
        return "[\n" + ",\n".join(items) + "\n" + " " * indent + "]"
    items = [pad + json.dumps(key) + ": " + dump(item, indent + 2) for key, item in value.items()]
    return "{\n" + ",\n".join(items) + "\n" + " " * indent + "}"


if __name__ == "__main__":
    print(dump(scene()))
