#!/usr/bin/env python3
"""Writes Sacotin's demo data: a Wine prefix's user.reg with a few T4C accounts and an item
catalogue (liste.dat) that names most of their items.

    python3 tools/make_demo_data.py           # (re)writes demo/wine-prefix/user.reg, demo/liste.dat
    python3 tools/make_demo_data.py --check   # fails when the files in demo/ differ from the output

The output is the same on every run (fixed seed, fixed times), so the files can be committed and
checked. Standard library only.

user.reg is written the way Wine's registry server saves it: sections in the depth-first order of
keys sorted by their lower-cased UTF-16 names, values sorted the same way, a section only for keys
that have values or no subkeys, non-ASCII characters escaped as \\xNN, "[time] #time=" lines, hex
data wrapped past column 76.

liste.dat is Windows-1252 text with CR LF line ends: for each item a number line, then
"Nom=" + the item's name.
"""

import argparse
import random
import sys
from dataclasses import dataclass, field
from pathlib import Path

SEED = 20261207
# When the prefix was created (Unix seconds); the game's keys are written in the days after.
PREFIX_CREATED = 1793950000
FILETIME_UNIX_EPOCH = 116444736000000000  # 1970-01-01 in 100 ns units since 1601-01-01

REPO = Path(__file__).resolve().parent.parent
USER_REG = REPO / "demo" / "wine-prefix" / "user.reg"
CATALOGUE = REPO / "demo" / "liste.dat"


# ---------------------------------------------------------------------------------------------
# Registry tree and Wine's text writer


@dataclass
class Value:
    name: str  # "" is the default value
    kind: str  # "sz", "dword" or "binary"
    data: object  # str, int or bytes


@dataclass
class Key:
    name: str
    filetime: int = 0
    values: list = field(default_factory=list)
    subkeys: dict = field(default_factory=dict)  # lower-cased name -> Key


def sort_key(name):
    """Wine's order: UTF-16 code units compared after lower-casing, the shorter name first on a
    tie. Every name here is in the BMP, so one character is one code unit."""
    return [ord(c.lower()) if len(c.lower()) == 1 else ord(c) for c in name]


class Registry:
    def __init__(self):
        self.root = Key("")

    def key(self, path, filetime):
        """The key at path ("A\\B\\C"), created with its ancestors when missing. Ancestors that
        did not exist get the same time, as Wine gives keys created on the way."""
        node = self.root
        for part in path.split("\\"):
            child = node.subkeys.get(part.lower())
            if child is None:
                child = node.subkeys[part.lower()] = Key(part, filetime)
            node = child
        return node

    def set(self, path, filetime, name, kind, data):
        key = self.key(path, filetime)
        key.filetime = max(key.filetime, filetime)
        key.values = [v for v in key.values if v.name.lower() != name.lower()]
        key.values.append(Value(name, kind, data))


HEX_DIGITS = set("0123456789abcdefABCDEF")
CONTROL_ESCAPES = {0x07: "a", 0x08: "b", 0x09: "t", 0x0A: "n", 0x0B: "v", 0x0C: "f", 0x0D: "r",
                   0x1B: "e"}


def escape(text, extra):
    """Wine's string escaping for key names (extra "[]") and value names and data (extra '"')."""
    units = text.encode("utf-16-le")
    units = [units[i] | units[i + 1] << 8 for i in range(0, len(units), 2)]
    out = []
    for i, unit in enumerate(units):
        following = chr(units[i + 1]) if i + 1 < len(units) else ""
        if unit == 0x5C:
            out.append("\\\\")
        elif chr(unit) in extra:
            out.append("\\" + chr(unit))
        elif unit in CONTROL_ESCAPES:
            out.append("\\" + CONTROL_ESCAPES[unit])
        elif unit < 0x20:
            # Three digits when an octal digit follows, so the reader doesn't take it in.
            octal_follows = following != "" and following in "01234567"
            out.append("\\%03o" % unit if octal_follows else "\\%o" % unit)
        elif unit < 0x80:
            out.append(chr(unit))
        else:
            # Four digits when a hex digit follows, for the same reason.
            out.append("\\x%04x" % unit if following in HEX_DIGITS else "\\x%x" % unit)
    return "".join(out)


def format_value(value):
    line = "@=" if value.name == "" else '"%s"=' % escape(value.name, '"')
    if value.kind == "sz":
        return line + '"%s"' % escape(value.data, '"')
    if value.kind == "dword":
        return line + "dword:%08x" % value.data
    line += "hex:"
    count = len(line)
    data = value.data
    for i, byte in enumerate(data):
        line += "%02x" % byte
        count += 2
        if i < len(data) - 1:
            line += ","
            count += 1
            if count > 76:
                line += "\\\n  "
                count = 2
    return line


def unix_seconds(filetime):
    return (filetime - FILETIME_UNIX_EPOCH) // 10_000_000


def write_sections(key, path, out):
    if key.values or not key.subkeys:
        out.append("")
        out.append("[%s] %d" % ("\\\\".join(escape(p, "[]") for p in path), unix_seconds(key.filetime)))
        out.append("#time=%x%08x" % (key.filetime >> 32, key.filetime & 0xFFFFFFFF))
        for value in sorted(key.values, key=lambda v: sort_key(v.name)):
            out.append(format_value(value))
    for child in sorted(key.subkeys.values(), key=lambda k: sort_key(k.name)):
        write_sections(child, path + [child.name], out)


def user_reg_text(registry):
    out = ["WINE REGISTRY Version 2",
           ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000",
           "",
           "#arch=win32"]
    for child in sorted(registry.root.subkeys.values(), key=lambda k: sort_key(k.name)):
        write_sections(child, [child.name], out)
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# The item catalogue

WEAPONS = ["Épée longue", "Épée courte", "Épée bâtarde", "Dague", "Rapière", "Cimeterre",
           "Hache de guerre", "Hachette", "Masse d'armes", "Fléau", "Marteau de guerre",
           "Bâton de chêne", "Lance", "Hallebarde", "Arc long", "Arc court", "Arbalète"]
WEAPON_MAKES = ["", " rouillée", " en fer", " en acier", " en mithril", " elfique", " naine",
                " enchantée"]
ARMOURS = ["Casque", "Heaume", "Cotte de mailles", "Armure de plates", "Plastron de cuir",
           "Bottes de cuir", "Gantelets", "Jambières", "Brassards", "Bouclier rond",
           "Écu", "Cape"]
ARMOUR_MAKES = ["", " en fer", " en acier", " en mithril", " du chevalier", " de l'ours"]
POTIONS = ["Potion de soin", "Grande potion de soin", "Potion de mana", "Grande potion de mana",
           "Potion d'endurance", "Élixir de force", "Élixir d'agilité", "Élixir de sagesse",
           "Philtre d'invisibilité", "Antidote", "Potion de résistance au feu",
           "Potion de résistance au froid", "Tisane de camomille", "Hydromel", "Vin épicé"]
JEWELS = ["Anneau", "Amulette", "Bracelet", "Broche", "Collier", "Diadème"]
JEWEL_POWERS = [" de force", " d'agilité", " de sagesse", " de protection", " de vitalité",
                " du renard", " de l'aigle", " des ténèbres"]
SCROLLS = ["Parchemin de téléportation", "Parchemin de boule de feu",
           "Parchemin d'éclair", "Parchemin de guérison", "Parchemin de lumière",
           "Parchemin de bénédiction", "Parchemin de rappel", "Parchemin d'identification",
           "Grimoire du débutant", "Grimoire des éléments", "Livre de runes", "Carte au trésor",
           "Lettre scellée", "Journal d'un aventurier"]
REAGENTS = ["Racine de mandragore", "Plume de phénix", "Écaille de dragon", "Œil de lynx",
            "Cœur de troll", "Sang de chauve-souris", "Perle noire", "Poudre d'os",
            "Soufre", "Ginseng", "Ail", "Toile d'araignée", "Champignon vénéneux",
            "Pétale de rose", "Cristal de quartz", "Fiole vide", "Dent de loup",
            "Griffe d'ours", "Corne de bélier", "Aile de chauve-souris", "Herbe de lune",
            "Mousse des marais", "Œuf de basilic", "Larme de sirène"]
GOODS = ["Pièce d'or", "Clé rouillée", "Clé en argent", "Torche", "Corde", "Pelle", "Pioche",
         "Hameçon", "Canne à pêche", "Lingot de fer", "Lingot de cuivre", "Lingot d'argent",
         "Lingot d'or", "Minerai de fer", "Minerai de cuivre", "Pépite d'or", "Peau de loup",
         "Peau d'ours", "Cuir tanné", "Rouleau de soie", "Pelote de laine", "Bûche de hêtre",
         "Planche de sapin", "Fromage de chèvre", "Miche de pain", "Pomme", "Poire",
         "Jambon fumé", "Poisson séché", "Gâteau au miel", "Bougie", "Lanterne",
         "Sac à dos", "Coffret en bois", "Dé à jouer", "Flûte de berger", "Luth",
         "Rubis", "Émeraude", "Saphir", "Topaze", "Améthyste", "Diamant",
         "Tête de gobelin", "Oreille d'orc", "Trophée de chasse", "Médaille du tournoi"]
# A few names the catalogue lists twice, under two item numbers.
REPEATED = ["Potion de soin", "Pièce d'or", "Clé rouillée"]


def catalogue_entries(rng):
    """(item number, name) pairs in file order: groups of neighbouring numbers per kind of item,
    some of them above 255 and above 32767, so both data bytes of a slot matter."""
    groups = [
        (12, GOODS),
        (301, POTIONS),
        (1000, [w + m for w in WEAPONS for m in WEAPON_MAKES]),
        (2048, [a + m for a in ARMOURS for m in ARMOUR_MAKES]),
        (5120, [j + p for j in JEWELS for p in JEWEL_POWERS]),
        (7700, SCROLLS),
        (20480, REAGENTS),
        (40960, REPEATED),
    ]
    entries = []
    for first, names in groups:
        number = first
        for name in names:
            entries.append((number, name))
            number += rng.choice([1, 1, 1, 2, 3])  # gaps: numbers nobody knows
    return entries


def catalogue_bytes(entries):
    lines = []
    for number, name in entries:
        lines.append(str(number))
        lines.append("Nom=" + name)
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


# ---------------------------------------------------------------------------------------------
# The prefix: Wine's own keys, then the game's accounts

SECOND = 10_000_000


def filetime(unix, rng):
    """A FILETIME in the given second, at a random fraction of it."""
    return unix * SECOND + FILETIME_UNIX_EPOCH + rng.randrange(SECOND)


def add_wine_keys(reg, rng):
    """Keys a fresh Wine 8 prefix of a French-speaking user holds, a few of each kind."""
    t = lambda offset: filetime(PREFIX_CREATED + offset, rng)  # noqa: E731
    reg.set("AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\.Current", t(9), "", "sz", "")
    for name, on in [("AudioDescription", None), ("Blind Access", "0"),
                     ("Keyboard Preference", "1"), ("ShowSounds", "0")]:
        path = "Control Panel\\Accessibility\\" + name
        when = t(0)
        if on is None:
            reg.set(path, when, "Locale", "dword", 0)
            on = "0"
        reg.set(path, when, "On", "sz", on)
    colors = {"ActiveBorder": "212 208 200", "ActiveTitle": "10 36 106",
              "AppWorkSpace": "128 128 128", "Background": "58 110 165",
              "ButtonFace": "212 208 200", "ButtonHilight": "255 255 255",
              "ButtonShadow": "128 128 128", "ButtonText": "0 0 0", "GrayText": "128 128 128",
              "Hilight": "10 36 106", "HilightText": "255 255 255", "Menu": "212 208 200",
              "MenuText": "0 0 0", "Scrollbar": "212 208 200", "TitleText": "255 255 255",
              "Window": "255 255 255", "WindowFrame": "0 0 0", "WindowText": "0 0 0"}
    when = t(10)
    for name, rgb in colors.items():
        reg.set("Control Panel\\Colors", when, name, "sz", rgb)
    when = t(10)
    desktop = [("CaretWidth", "dword", 1), ("DragFullWindows", "sz", "0"),
               ("FontSmoothing", "sz", "2"), ("MenuShowDelay", "sz", "400"),
               ("UserPreferencesMask", "binary", bytes([0x30, 0, 2, 0x80, 0x12, 0, 0, 0])),
               ("Wallpaper", "sz", ""), ("WheelScrollLines", "sz", "3")]
    for name, kind, data in desktop:
        reg.set("Control Panel\\Desktop", when, name, kind, data)
    font = (bytes([0xF5, 0xFF, 0xFF, 0xFF] + [0] * 12 + [0x90, 1] + [0] * 9 + [0x22])
            + "MS Shell Dlg".encode("utf-16-le") + bytes(92 - 28 - 24))  # LOGFONTW: 28 bytes, then a 32-character face name
    when = t(10)
    for name, kind, data in [("BorderWidth", "sz", "1"), ("CaptionHeight", "sz", "18"),
                             ("IconFont", "binary", font), ("MenuFont", "binary", font),
                             ("MenuHeight", "sz", "18"), ("ScrollWidth", "sz", "17")]:
        reg.set("Control Panel\\Desktop\\WindowMetrics", when, name, kind, data)
    when = t(0)
    international = {"Locale": "0000040C", "LocaleName": "fr-FR", "iCountry": "33",
                     "sCountry": "France", "sCurrency": "\u20ac", "sDecimal": ",",
                     "sLanguage": "FRA", "sLongDate": "dddd d MMMM yyyy",
                     "sShortDate": "dd/MM/yyyy", "sThousand": "\u00a0", "sTimeFormat": "HH:mm:ss"}
    for name, text in international.items():
        reg.set("Control Panel\\International", when, name, "sz", text)
    reg.set("Control Panel\\International\\Geo", when, "Name", "sz", "FR")
    reg.set("Control Panel\\International\\Geo", when, "Nation", "sz", "84")
    when = t(0)
    reg.set("Control Panel\\Keyboard", when, "KeyboardDelay", "sz", "1")
    reg.set("Control Panel\\Keyboard", when, "KeyboardSpeed", "sz", "31")
    when = t(0)
    for name, text in [("DoubleClickSpeed", "500"), ("MouseSpeed", "1"),
                       ("SwapMouseButtons", "0")]:
        reg.set("Control Panel\\Mouse", when, name, "sz", text)
    reg.set("Control Panel\\Sound", t(0), "Beep", "sz", "Yes")
    when = t(8)
    reg.set("Environment", when, "TEMP", "sz", "C:\\users\\joueur\\Temp")
    reg.set("Environment", when, "TMP", "sz", "C:\\users\\joueur\\Temp")
    reg.set("Keyboard Layout\\Preload", t(0), "1", "sz", "0000040c")
    shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
    when = t(7)
    for name, folder in [("AppData", "AppData\\Roaming"), ("Desktop", "Desktop"),
                         ("Local AppData", "AppData\\Local"), ("Personal", "Documents"),
                         ("My Pictures", "Pictures")]:
        reg.set(shell, when, name, "sz", "C:\\users\\joueur\\" + folder)
    reg.key("Software\\Microsoft\\Windows\\CurrentVersion\\Run", t(9))
    reg.key("Software\\Wine\\AppDefaults", t(0))
    reg.key("Software\\Wine\\DllOverrides", t(0))
    when = t(16)
    reg.set("Software\\Wine\\Fonts", when, "Codepages", "sz", "1252,850")
    reg.set("Software\\Wine\\Fonts", when, "LogPixels", "dword", 96)
    reg.key("Software\\Wine\\MenuFiles", t(11))
    when = t(11)
    for name, text in [("APPDATA", "C:\\users\\joueur\\AppData\\Roaming"), ("HOMEDRIVE", "C:"),
                       ("HOMEPATH", "\\users\\joueur"), ("LOGONSERVER", "\\\\PC-SALON"),
                       ("USERDOMAIN", "PC-SALON"), ("USERNAME", "joueur"),
                       ("USERPROFILE", "C:\\users\\joueur")]:
        reg.set("Volatile Environment", when, name, "sz", text)


# Account -> characters -> number of inventory slots. None: an account without a Characters key
# (created when the player logged in once, before making any character).
ACCOUNTS = {
    "Amélie": {"Aélis": 38, "Bérenger": 22, "Cœurdelion": 14},
    "brasdefer": {"Grimbald": 60, "Mélusine": 10, "Ragnar": 27},
    "Hélène": {"Noël": 45, "Zéphyrine": 31},
    "Invité": None,
}
UNKNOWN_ITEMS = [4, 999, 3333, 18000, 65000]  # numbers the catalogue doesn't list


def add_game_keys(reg, rng, entries):
    numbers = [number for number, _ in entries]
    installed = PREFIX_CREATED + 3600
    when = filetime(installed, rng)
    reg.set("Software\\Vircom\\T4C", when, "InstallPath", "sz", "C:\\Program Files\\Vircom\\T4C")
    reg.set("Software\\Vircom\\T4C", when, "Language", "sz", "FR")
    day = 0
    for account, characters in ACCOUNTS.items():
        day += 1
        account_path = "Software\\Vircom\\T4C\\" + account
        if characters is None:
            reg.key(account_path, filetime(installed + day * 86400, rng))
            continue
        for character, slots in characters.items():
            when = filetime(installed + day * 86400 + rng.randrange(86400), rng)
            path = account_path + "\\Characters\\" + character + "\\Inventory"
            reg.key(path, when)
            for slot in range(1, slots + 1):
                if rng.random() < 0.06:
                    number = rng.choice(UNKNOWN_ITEMS)
                else:
                    number = rng.choice(numbers)
                reg.set(path, when, "ItemID%d" % slot, "binary", number.to_bytes(2, "little"))


def build():
    rng = random.Random(SEED)
    entries = catalogue_entries(rng)
    reg = Registry()
    add_wine_keys(reg, rng)
    add_game_keys(reg, rng, entries)
    return user_reg_text(reg).encode("ascii"), catalogue_bytes(entries)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in demo/ instead of writing them")
    args = parser.parse_args()
    outputs = dict(zip((USER_REG, CATALOGUE), build()))
    if args.check:
        stale = [p for p, data in outputs.items() if not p.exists() or p.read_bytes() != data]
        for path in stale:
            print("out of date: %s (run python3 tools/make_demo_data.py)" % path.relative_to(REPO))
        return 1 if stale else 0
    for path, data in outputs.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print("wrote %s (%d bytes)" % (path.relative_to(REPO), len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
