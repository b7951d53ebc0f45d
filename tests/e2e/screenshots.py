"""Takes the README screenshots of the real program: run inside tests/e2e/session.sh.

Each picture is the whole virtual screen cropped to the window(s) it shows, found
through their AT-SPI extents, and enlarged twice without smoothing.
    screenshots.py OUTPUT_DIR
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from devimax_ui import Atspi, Devimax, do_action, is_showing, wait_until  # noqa: E402

IMPORT = "/usr/bin/import"
CONVERT = "/usr/bin/convert"


def extents(*accessibles):
    boxes = [a.get_extents(Atspi.CoordType.SCREEN) for a in accessibles]
    left = min(b.x for b in boxes)
    top = min(b.y for b in boxes)
    right = max(b.x + b.width for b in boxes)
    bottom = max(b.y + b.height for b in boxes)
    return left, top, right - left, bottom - top


def shoot(path, *windows):
    # Let the last repaint reach the screen.
    time.sleep(0.4)
    left, top, width, height = extents(*windows)
    if width <= 0 or height <= 0:
        raise RuntimeError(f"nothing to crop for {path}")
    raw = path + ".raw.png"
    subprocess.run([IMPORT, "-window", "root", raw], check=True)
    subprocess.run([CONVERT, raw, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                    "-filter", "point", "-resize", "200%", path], check=True)
    os.remove(raw)
    print(f"wrote {path} ({width}x{height} at {left},{top}, enlarged 2x)")


def main(out_dir):
    app = Devimax()
    try:
        app.press("1", "0", "0")
        app.wait_second_display("655,957")
        shoot(os.path.join(out_dir, "screenshot.png"), app.window)

        popup = app.open_menu()
        shoot(os.path.join(out_dir, "screenshot-menu.png"), app.window, popup)
        app.close_menus(popup)

        popup = app.choose("Change", "Dollar")
        dialog = wait_until("the rate dialog", lambda: app.top_level_with("push button", "Valider"))
        app.close_menus(popup)
        shoot(os.path.join(out_dir, "screenshot-rate-dialog.png"), dialog)
        do_action(app.control("push button", "Annuler", within=dialog), "Press")
        wait_until("the calculator", lambda: is_showing(app.window))

        popup = app.choose("     ?")
        about = wait_until("the About window", lambda: app.top_level_with("push button", "Fermer"))
        app.close_menus(popup)
        shoot(os.path.join(out_dir, "screenshot-about.png"), about)
        do_action(app.control("push button", "Fermer", within=about), "Press")
        wait_until("the calculator", lambda: is_showing(app.window))
    finally:
        app.stop()


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "docs")
