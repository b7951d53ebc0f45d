"""End-to-end tests of the real Devimax program, driven through AT-SPI.

Run inside tests/e2e/session.sh (scripts/e2e.sh does it): the program needs an X
display, and the tests need the accessibility bus.
"""

import os
import sys
import time
import unittest
from decimal import ROUND_HALF_UP, Decimal

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from devimax_ui import (Devimax, children, do_action, dump_rates, find,  # noqa: E402
                        is_enabled, is_showing, wait_until)

RATE_COLUMN = {"Franc": "FFR", "Dollar": "USD", "Mark": "DEM"}


def expected_conversion(amount, rate, reversed_direction):
    """The second display for an amount, from the rate as stored in buro.mdb.

    The program works in doubles, then rounds the 15-significant-digit decimal
    form to four decimals, halves away from zero, and drops trailing zeros.
    """
    value = float(amount) / float(rate) if reversed_direction else float(amount) * float(rate)
    rounded = Decimal(format(value, ".15g")).quantize(Decimal("0.0001"), rounding=ROUND_HALF_UP)
    text = format(rounded, "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text.replace(".", ",")


class DevimaxTest(unittest.TestCase):
    def setUp(self):
        self.program = Devimax()
        self.addCleanup(self.program.stop)
        self.rates = dump_rates(self.program.rates_path)

    def press_and_expect(self, steps):
        for key, main in steps:
            self.program.press(key)
            self.assertEqual(self.program.main_display(), main, f"main display after {key}")

    def test_worked_sequence_left_to_right_with_a_sign(self):
        # 12 + 3 = 15, then "-" before a number is its sign: 15 X -2 = -30.
        self.press_and_expect([("1", "1,"), ("2", "12,"), ("Plus", "12,"), ("3", "3,"),
                               ("Multiplier", "15"), ("Moins", "-"), ("2", "-2,"),
                               ("Égal", "-30")])
        # A negative amount is not exchanged.
        self.program.wait_second_display("0,")
        # The decimal key gives the French comma, and the second display follows.
        self.program.clear()
        self.press_and_expect([("1", "1,"), ("Virgule", "1,"), ("5", "1,5")])
        self.program.wait_second_display(expected_conversion("1.5", self.rates["FFR"], False))
        # Ce drops the entry being typed.
        self.press_and_expect([("Plus", "1,5"), ("7", "7,"), ("Effacer l'entrée", "0,"),
                               ("2", "2,"), ("Égal", "3,5")])

    def test_conversion_in_each_currency_and_direction(self):
        app = self.program
        for currency in ("Franc", "Dollar", "Mark"):
            with self.subTest(currency=currency):
                if currency != "Franc":
                    app.choose_currency(currency)
                rate = self.rates[RATE_COLUMN[currency]]
                self.assertEqual(app.currency_labels(), ["Euro", currency])
                self.assertFalse(is_enabled(self.currency_item(currency)),
                                 "the chosen currency can't be chosen again")
                app.press("1", "0", "0")
                self.assertEqual(app.main_display(), "100,")
                app.wait_second_display(expected_conversion("100", rate, False))

                app.toggle_direction()
                self.assertEqual(app.currency_labels(), [currency, "Euro"])
                app.press("1", "0", "0")
                app.wait_second_display(expected_conversion("100", rate, True))

                app.toggle_direction()
                self.assertEqual(app.currency_labels(), ["Euro", currency])

    def currency_item(self, currency):
        popup = self.program.open_menu()
        try:
            monnaie = find(popup, "menu item", "Monnaie", depth=1)
            return find(monnaie, "menu item", currency, depth=2)
        finally:
            self.program.close_menus(popup)

    def test_new_rate_is_used_at_once_and_saved_on_quit(self):
        app = self.program
        popup = app.choose("Change", "Dollar")
        dialog = wait_until("the rate dialog",
                            lambda: app.top_level_with("push button", "Valider"))
        app.close_menus(popup)
        self.assertFalse(is_showing(app.window), "the calculator hides behind the dialog")
        self.assertIsNotNone(find(dialog, "panel", "Dollars pour un Euro:"))
        self.assertIsNotNone(find(dialog, "label", "1,1"), "the old rate is shown")
        self.assertEqual(dialog.get_name(), "Taux de change")
        entry = find(dialog, "text", "Nouvelle valeur:")
        self.assertIsNotNone(entry, "the entry box is named by its caption")
        app.type_into(entry, "1,3")
        do_action(app.control("push button", "Valider", within=dialog), "Press")
        wait_until("the calculator to come back", lambda: is_showing(app.window))
        wait_until("the dialog to go", lambda: app.top_level_with("push button", "Valider") is None)

        app.choose_currency("Dollar")
        app.press("1", "0", "0")
        app.wait_second_display(expected_conversion("100", "1.3", False))

        app.choose("Quitter")
        self.assertEqual(app.wait_exit(), 0)
        saved = dump_rates(app.rates_path)
        self.assertEqual(saved, dict(self.rates, USD="1.3"))
        self.assertNotEqual(self.rates["USD"], "1.3")

    def test_quitting_without_a_new_rate_leaves_the_file_as_it_was(self):
        app = self.program
        with open(app.rates_path, "rb") as f:
            original = f.read()
        # Calculations, a cancelled rate dialog and the About window change no rate.
        app.press("1", "0", "0")
        app.toggle_direction()
        popup = app.choose("Change", "Franc")
        dialog = wait_until("the rate dialog",
                            lambda: app.top_level_with("push button", "Annuler"))
        app.close_menus(popup)
        app.type_into(next(c for c in walk(dialog) if c.get_role_name() == "text"), "7")
        do_action(app.control("push button", "Annuler", within=dialog), "Press")
        wait_until("the calculator to come back", lambda: is_showing(app.window))

        popup = app.choose("     ?")
        about = wait_until("the About window",
                           lambda: app.top_level_with("push button", "Fermer"))
        app.close_menus(popup)
        do_action(app.control("push button", "Fermer", within=about), "Press")
        wait_until("the calculator to come back", lambda: is_showing(app.window))

        app.choose("Quitter")
        self.assertEqual(app.wait_exit(), 0)
        with open(app.rates_path, "rb") as f:
            self.assertEqual(f.read(), original, "buro.mdb was rewritten")


def walk(root):
    for child in children(root):
        yield child
        yield from walk(child)


def main():
    started = time.monotonic()
    suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__])
    if len(sys.argv) > 1:
        suite = unittest.TestSuite(t for t in suite_tests(suite)
                                   if any(name in t.id() for name in sys.argv[1:]))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    print(f"{result.testsRun - failed} passed, {failed} failed"
          f" ({time.monotonic() - started:.1f} s)")
    return 0 if failed == 0 and result.testsRun > 0 else 1


def suite_tests(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from suite_tests(item)
        else:
            yield item


if __name__ == "__main__":
    sys.exit(main())
