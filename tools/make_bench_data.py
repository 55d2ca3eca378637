#!/usr/bin/env python3
"""Writes a Wine prefix user.reg and a matching liste.dat for measuring Sacotin.

The user.reg is laid out the way Wine 8 writes it: its header, then one section per key that
has values (or no subkeys), sorted depth-first by lower-cased name, each section a blank line,
"[path] seconds", "#time=..." and the values in name order; binary data as hex bytes wrapped
after column 76. Besides the game's keys (Software\\Vircom\\T4C) the file holds the unrelated
keys a lived-in prefix has (Control Panel, Software\\Wine, Explorer MRU lists, other
programs' settings), generated until the file reaches the wanted size.

The liste.dat is Windows-1252 text with CR LF line ends: a number line, then "Nom=" + name.

One item, SEARCH_ITEM, is carried by every other character (half of them) and is the only
catalogue entry with that name: the search benchmark looks for it. Its name is printed and
written to bench-info.txt beside the two files.

The output depends only on the options (the seed included): the same command writes the same
bytes.

  make_bench_data.py --set typical --out /tmp/typical
  make_bench_data.py --set heavy --out /tmp/heavy
  make_bench_data.py --set heavy --accounts 200 --out /tmp/heavy-2x-accounts
  make_bench_data.py --set typical --without-game --out /tmp/other-program
"""

import argparse
import os
import random
import sys

SEARCH_ITEM = "Épée de Lumière Éternelle"

SETS = {
    # accounts, characters per account, slots per character, catalogue items, user.reg MB
    "typical": dict(accounts=3, characters=3, slots=60, catalogue=3000, size_mb=2.0),
    "heavy": dict(accounts=100, characters=5, slots=200, catalogue=20000, size_mb=30.0),
}

# Seconds since 1970 used as the keys' last-write time (spread a little per key).
BASE_TIME = 1796626260
FILETIME_EPOCH_OFFSET = 11644473600

ITEM_BASES = [
    "Épée", "Hache", "Dague", "Masse", "Lance", "Arc", "Arbalète", "Bâton", "Fléau", "Rapière",
    "Bouclier", "Casque", "Heaume", "Cuirasse", "Jambières", "Gantelets", "Bottes", "Cape",
    "Robe", "Ceinture", "Anneau", "Amulette", "Bracelet", "Collier", "Potion", "Élixir",
    "Parchemin", "Grimoire", "Gemme", "Clé", "Torche", "Flèches", "Carreaux", "Herbe",
    "Racine", "Champignon", "Pièce", "Lingot", "Peau", "Écaille", "Griffe", "Croc", "Plume",
    "Fiole", "Talisman", "Sceptre", "Couronne", "Tunique", "Braies", "Gants",
]
ITEM_MATERIALS = [
    "de fer", "d'acier", "de bronze", "d'argent", "d'or", "de mithril", "de cuir", "de soie",
    "de chêne", "d'if", "d'os", "de cristal", "d'obsidienne", "de rubis", "d'émeraude",
    "de saphir", "d'ambre", "de jade", "de lin", "de laine", "de corne", "d'ébène", "de verre",
    "de cuivre", "d'étain", "de granit", "de nacre", "de dragon", "de troll", "de gobelin",
]
ITEM_QUALITIES = [
    "", "usé", "brisé", "ordinaire", "fin", "renforcé", "enchanté", "béni", "maudit",
    "ancien", "royal", "elfique", "nain", "sombre", "lumineux", "du Nord", "des marais",
    "du désert", "des glaces", "de l'aube", "du crépuscule", "mineur", "majeur", "supérieur",
]

FIRST_NAMES = [
    "Hélène", "Gaëlle", "Zoé", "Léa", "Chloé", "Mélanie", "Aurélien", "Jérôme", "Benoît",
    "François", "Loïc", "Noël", "Anaïs", "Cédric", "Sébastien", "Thérèse", "Agnès", "Raphaël",
    "Maëlys", "Joël", "Éloïse", "Gérald", "Frédéric", "Valérie", "Ophélie", "Clément",
    "Honoré", "Inès", "Océane", "Rémi", "Aragorn", "Morgane", "Tristan", "Yseult", "Perceval",
]
EPITHETS = [
    "le Brave", "la Sage", "le Rouge", "Noirécu", "Cœurvaillant", "du Val", "l'Ancien",
    "Mainforte", "Piedléger", "l'Éclairé", "Sombrelame", "Ventfort", "de Brême", "",
]
ACCOUNT_WORDS = ["joueur", "compte", "goa", "tchiko", "mage", "guerrier", "archer", "druide"]

VENDORS = [
    ("Adobe", ["Acrobat Reader", "Flash Player"]), ("Mozilla", ["Firefox", "Thunderbird"]),
    ("Valve", ["Steam"]), ("Blizzard Entertainment", ["Battle.net", "Warcraft III"]),
    ("7-Zip", ["7-Zip"]), ("VideoLAN", ["VLC"]), ("Notepad++", ["Notepad++"]),
    ("GOG.com", ["Galaxy", "Games"]), ("Ubisoft", ["Launcher"]), ("Winamp", ["Winamp"]),
    ("Trolltech", ["Qt"]), ("Sierra", ["Half-Life"]), ("Electronic Arts", ["Origin"]),
]
SETTING_WORDS = [
    "Window", "Position", "Recent", "Options", "Toolbar", "View", "Layout", "Plugins", "Cache",
    "History", "Profile", "Colors", "Fonts", "Network", "Update", "Language", "Sound", "Video",
]
FILE_WORDS = [
    "rapport", "photo", "sauvegarde", "lettre", "budget", "carte", "musique", "notes", "facture",
    "projet", "installation", "journal", "capture", "patch", "readme", "config",
]
EXTENSIONS = ["txt", "doc", "jpg", "png", "exe", "zip", "pdf", "mp3", "ini", "log", "dat"]


def escape(text, delimiter):
    """Escapes a key path component or a string the way Wine's writer does (dump_strW)."""
    out = []
    for i, ch in enumerate(text):
        code = ord(ch)
        nxt = text[i + 1] if i + 1 < len(text) else ""
        if ch == "\\":
            out.append("\\\\")
        elif ch == delimiter or (delimiter == "]" and ch == "["):
            out.append("\\" + ch)
        elif code in (7, 8, 9, 10, 11, 12, 13, 27):
            out.append("\\" + "abtnvfr"[code - 7] if code != 27 else "\\e")
        elif code < 32:
            out.append("\\%03o" % code if nxt in "01234567" and nxt else "\\%o" % code)
        elif code < 0x80:
            out.append(ch)
        elif nxt and nxt in "0123456789abcdefABCDEF":
            out.append("\\x%04x" % code)
        else:
            out.append("\\x%x" % code)
    return "".join(out)


def sort_key(components):
    return tuple(c.lower() for c in components)


def hex_value(prefix, data):
    """A hex value line as Wine wraps it: after a byte's comma, past column 76, go on the next
    line after two blanks."""
    parts = [prefix]
    count = len(prefix)
    last = len(data) - 1
    for i, byte in enumerate(data):
        parts.append("%02x" % byte)
        count += 2
        if i < last:
            parts.append(",")
            count += 1
            if count > 76:
                parts.append("\\\n  ")
                count = 2
    return "".join(parts)


def value_line(name, kind, data):
    prefix = '"%s"=' % escape(name, '"') if name else "@="
    if kind == "sz":
        return prefix + '"%s"' % escape(data, '"')
    if kind == "dword":
        return prefix + "dword:%08x" % data
    if kind == "hex":
        return hex_value(prefix + "hex:", data)
    raise ValueError(kind)


class Section:
    __slots__ = ("components", "time", "values")

    def __init__(self, components, time, values):
        self.components = components
        self.time = time
        self.values = values  # (name, kind, data)

    def render(self):
        filetime = (self.time + FILETIME_EPOCH_OFFSET) * 10_000_000 + (self.time * 7919) % 10_000_000
        lines = [
            "",
            "[%s] %d" % ("\\\\".join(escape(c, "]") for c in self.components), self.time),
            "#time=%x%08x" % (filetime >> 32, filetime & 0xFFFFFFFF),
        ]
        for name, kind, data in sorted(self.values, key=lambda v: v[0].lower()):
            lines.append(value_line(name, kind, data))
        return "\n".join(lines) + "\n"


def item_names(count, rng):
    """count distinct French-like item names (SEARCH_ITEM excluded), in a shuffled order."""
    names = []
    for base in ITEM_BASES:
        for material in ITEM_MATERIALS:
            for quality in ITEM_QUALITIES:
                names.append(" ".join(w for w in (base, material, quality) if w))
    if count > len(names):
        # Numbered variants beyond the word combinations (large catalogues only).
        extra = count - len(names)
        names += ["%s %d" % (names[i % len(names)], 2 + i // len(names)) for i in range(extra)]
    rng.shuffle(names)
    return names[:count]


def catalogue(count, rng):
    """(number, name) pairs: distinct item numbers in 1..65535, SEARCH_ITEM among them."""
    numbers = rng.sample(range(1, 65536), count)
    names = item_names(count - 1, rng)
    entries = list(zip(numbers[:-1], names))
    search_number = numbers[-1]
    entries.insert(rng.randrange(len(entries) + 1), (search_number, SEARCH_ITEM))
    return entries, search_number


def write_catalogue(path, entries, rng):
    lines = []
    for number, name in entries:
        lines.append(str(number))
        lines.append("Nom=" + name)
        # Hand-kept files have the odd blank line between entries.
        if rng.random() < 0.02:
            lines.append("")
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def unique_names(count, make, rng):
    seen = set()
    names = []
    while len(names) < count:
        name = make(rng, len(names))
        if name.lower() not in seen:
            seen.add(name.lower())
            names.append(name)
    return names


def account_name(rng, index):
    return "%s%d" % (rng.choice(ACCOUNT_WORDS), rng.randrange(1, 10000))


def character_name(rng, index):
    first = rng.choice(FIRST_NAMES)
    epithet = rng.choice(EPITHETS)
    name = first + (" " + epithet if epithet else "")
    return name if rng.random() < 0.7 else "%s %d" % (name, rng.randrange(2, 100))


def game_sections(args, numbers, search_number, rng):
    """The game's keys; returns the sections and the number of characters carrying the item."""
    root = ["Software", "Vircom", "T4C"]
    sections = [Section(root, BASE_TIME, [("InstallPath", "sz", "C:\\Program Files\\T4C"),
                                          ("Version", "sz", "1.60"),
                                          ("Language", "dword", 0x40C)])]
    carriers = 0
    character_index = 0
    for account in unique_names(args.accounts, account_name, rng):
        sections.append(Section(root + [account], BASE_TIME + rng.randrange(86400),
                                [("LastCharacter", "dword", rng.randrange(args.characters))]))
        for character in unique_names(args.characters, character_name, rng):
            slots = [rng.choice(numbers) for _ in range(args.slots)]
            # Some items the catalogue lacks (shown with the placeholder name).
            for i in range(len(slots)):
                if rng.random() < 0.02:
                    slots[i] = rng.randrange(1, 65536)
                    while slots[i] == search_number:
                        slots[i] = rng.randrange(1, 65536)
                elif slots[i] == search_number:
                    slots[i] = numbers[0] if numbers[0] != search_number else numbers[1]
            if character_index % 2 == 0 and slots:
                slots[rng.randrange(len(slots))] = search_number
                carriers += 1
            character_index += 1
            values = [("ItemID%d" % (i + 1), "hex", [n & 0xFF, n >> 8])
                      for i, n in enumerate(slots)]
            values.append(("Gold", "dword", rng.randrange(1_000_000)))
            sections.append(Section(root + [account, "Characters", character, "Inventory"],
                                    BASE_TIME + rng.randrange(86400), values))
    return sections, carriers


def fixed_sections(rng):
    """A few keys every prefix has."""
    colors = [(name, "sz", "%d %d %d" % (rng.randrange(256), rng.randrange(256),
                                         rng.randrange(256)))
              for name in ("ActiveBorder", "ActiveTitle", "AppWorkSpace", "Background",
                           "ButtonFace", "ButtonText", "GrayText", "Hilight", "HilightText",
                           "InfoText", "Menu", "MenuText", "Scrollbar", "Window", "WindowText")]
    return [
        Section(["Control Panel", "Colors"], BASE_TIME, colors),
        Section(["Control Panel", "Desktop"], BASE_TIME, [
            ("CaretWidth", "dword", 1), ("DragFullWindows", "sz", "0"),
            ("FontSmoothing", "sz", "2"), ("WheelScrollLines", "sz", "3"),
            ("UserPreferencesMask", "hex", [0x9e, 0x1e, 0x07, 0x80, 0x12, 0x00, 0x00, 0x00])]),
        Section(["Control Panel", "International"], BASE_TIME, [
            ("Locale", "sz", "0000040c"), ("sCurrency", "sz", "\u20ac"),
            ("sDecimal", "sz", ","), ("sShortDate", "sz", "dd/MM/yyyy"),
            ("sLanguage", "sz", "FRA"), ("sCountry", "sz", "France")]),
        Section(["Environment"], BASE_TIME, [
            ("TEMP", "sz", "C:\\users\\joueur\\Temp"), ("TMP", "sz", "C:\\users\\joueur\\Temp")]),
        Section(["Software", "Wine", "Drives"], BASE_TIME, [("c:", "sz", "hd"), ("d:", "sz", "cdrom")]),
        Section(["Software", "Wine", "DllOverrides"], BASE_TIME,
                [(dll, "sz", "native,builtin") for dll in
                 ("d3d8", "d3d9", "d3dx9_43", "dinput8", "dsound", "msvcp140", "vcruntime140",
                  "xinput1_3", "mscoree", "mshtml", "winhttp", "wininet")]),
    ]


def filler_section(rng, index):
    """One key of the kind a lived-in prefix piles up."""
    kind = index % 6
    time = BASE_TIME + rng.randrange(3_000_000)
    if kind == 0:
        vendor, products = VENDORS[rng.randrange(len(VENDORS))]
        path = ["Software", vendor, rng.choice(products), "%s%d" % (rng.choice(SETTING_WORDS), index)]
        values = []
        for j in range(rng.randrange(4, 16)):
            name = "%s%d" % (rng.choice(SETTING_WORDS), j)
            roll = rng.random()
            if roll < 0.4:
                values.append((name, "dword", rng.randrange(1 << 32)))
            elif roll < 0.8:
                values.append((name, "sz", "C:\\users\\joueur\\Mes documents\\%s_%d.%s" % (
                    rng.choice(FILE_WORDS), rng.randrange(1000), rng.choice(EXTENSIONS))))
            else:
                values.append((name, "hex", [rng.randrange(256) for _ in range(rng.randrange(8, 120))]))
        return Section(path, time, values)
    if kind == 1:
        path = ["Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "ComDlg32",
                "OpenSavePidlMRU", "%s%d" % (rng.choice(EXTENSIONS), index)]
        values = [("MRUListEx", "hex", [rng.randrange(256) for _ in range(4 * rng.randrange(4, 20))])]
        for j in range(rng.randrange(3, 10)):
            values.append((str(j), "hex", [rng.randrange(256) for _ in range(rng.randrange(60, 400))]))
        return Section(path, time, values)
    if kind == 2:
        path = ["Software", "Classes", "Local Settings", "Software", "Microsoft", "Windows",
                "Shell", "MuiCache%d" % index]
        values = [("C:\\Program Files\\%s\\%s%d.exe" % (rng.choice(VENDORS)[0], rng.choice(FILE_WORDS), j),
                   "sz", "%s %s" % (rng.choice(FILE_WORDS).capitalize(), rng.choice(SETTING_WORDS)))
                  for j in range(rng.randrange(4, 20))]
        return Section(path, time, values)
    if kind == 3:
        path = ["Software", "Microsoft", "Windows", "Shell", "Bags", str(index), "Shell",
                "{5C4F28B5-F869-4E84-8E60-F11DB97C5CC7}"]
        values = [("FFlags", "dword", 0x41200001), ("Mode", "dword", rng.randrange(1, 8)),
                  ("LogicalViewMode", "dword", rng.randrange(1, 5)),
                  ("ColInfo", "hex", [rng.randrange(256) for _ in range(rng.randrange(60, 200))]),
                  ("Sort", "hex", [rng.randrange(256) for _ in range(rng.randrange(20, 60))])]
        return Section(path, time, values)
    if kind == 4:
        path = ["Software", "Wine", "Fonts", "Replacements%d" % index]
        values = [("%s %s" % (rng.choice(FILE_WORDS).capitalize(), rng.choice(SETTING_WORDS)), "sz",
                   rng.choice(["Liberation Sans", "DejaVu Serif", "Noto Sans", "Tahoma"]))
                  for _ in range(rng.randrange(3, 12))]
        return Section(path, time, values)
    path = ["Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "RecentDocs",
            ".%s%d" % (rng.choice(EXTENSIONS), index)]
    values = [("MRUListEx", "hex", [rng.randrange(256) for _ in range(40)])]
    for j in range(rng.randrange(3, 10)):
        text = "%s_%d.%s" % (rng.choice(FILE_WORDS), rng.randrange(10000), rng.choice(EXTENSIONS))
        data = list(text.encode("utf-16-le")) + [0, 0] + [rng.randrange(256) for _ in range(30)]
        values.append((str(j), "hex", data))
    return Section(path, time, values)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--set", choices=sorted(SETS), default="typical",
                        help="preset sizes (the options below override them)")
    parser.add_argument("--out", required=True, help="folder to write user.reg and liste.dat to")
    parser.add_argument("--accounts", type=int)
    parser.add_argument("--characters", type=int, help="characters per account")
    parser.add_argument("--slots", type=int, help="inventory slots per character")
    parser.add_argument("--catalogue", type=int, help="catalogue entries")
    parser.add_argument("--size-mb", type=float,
                        help="user.reg size to fill up to with unrelated keys (0: none)")
    parser.add_argument("--without-game", action="store_true",
                        help="no game keys at all: another program's prefix")
    parser.add_argument("--seed", type=int, default=4242)
    args = parser.parse_args(argv)
    for key, value in SETS[args.set].items():
        if getattr(args, key) is None:
            setattr(args, key, value)
    if args.catalogue < 2:
        parser.error("--catalogue must be at least 2")

    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)

    entries, search_number = catalogue(args.catalogue, rng)
    write_catalogue(os.path.join(args.out, "liste.dat"), entries, rng)
    numbers = [n for n, _ in entries]

    sections, carriers = ([], 0) if args.without_game else game_sections(
        args, numbers, search_number, rng)
    sections += fixed_sections(rng)
    rendered = [(sort_key(s.components), s.render()) for s in sections]
    target = int(args.size_mb * 1024 * 1024)
    size = sum(len(text) for _, text in rendered)
    index = 0
    while size < target:
        section = filler_section(rng, index)
        text = section.render()
        rendered.append((sort_key(section.components), text))
        size += len(text)
        index += 1
    rendered.sort(key=lambda pair: pair[0])

    header = ("WINE REGISTRY Version 2\n"
              ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
              "\n"
              "#arch=win32\n")
    with open(os.path.join(args.out, "user.reg"), "w", encoding="ascii", newline="\n") as f:
        f.write(header)
        f.writelines(text for _, text in rendered)

    characters = args.accounts * args.characters
    info = [
        "search_item=%s" % SEARCH_ITEM,
        "search_item_number=%d" % search_number,
        "carriers=%d" % carriers,
        "accounts=%d" % args.accounts,
        "characters=%d" % characters,
        "slots_per_character=%d" % args.slots,
        "catalogue_entries=%d" % args.catalogue,
        "user_reg_bytes=%d" % os.path.getsize(os.path.join(args.out, "user.reg")),
    ]
    with open(os.path.join(args.out, "bench-info.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(info) + "\n")
    print("\n".join(info))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
