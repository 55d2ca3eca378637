// The parser's reading of lines, keys and values, and its table of the keys met so far.
#include "registry/wine/wine_registry_parser.h"

#include <algorithm>

#include "registry/wine/wine_registry_text.h"

namespace sacotin {

using namespace wine_text;

WineRegistryFile parseWineRegistry(std::string_view text) { return WineRegistryParser(text).run(); }

WineTreeAround parseWineRegistryAround(std::string_view text,
                                       const std::vector<std::u16string_view>& keys) {
  return WineRegistryParser(text, keys).runAround();
}

WineRegistryFile parseOneKeyValues(std::string_view text) {
  WineRegistryParser parser(text);
  parser.storeNamesAsTheyCome();
  return parser.run();
}

WineTreeAround WineRegistryParser::runAround() {
  WineRegistryFile tree = run();
  return {std::move(tree), std::move(deferred_)};
}

WineRegistryFile WineRegistryParser::run() {
  std::string_view line;
  if (text_.size() > WineRegistryFile::kMaxFileSize) return WineRegistryFile();
  if (!nextLine(line) || line != "WINE REGISTRY Version 2") return WineRegistryFile();
  file_.isRegistry_ = true;
  slots_.assign(interning_ ? 1024 : 16, kNoKey);  // one key's values: one key
  // A whole file's value table is allocated once; one key's values are too few to count first.
  if (wantedKeys_.empty() && interning_) file_.values_.reserve(countValueLines());
  while (nextLine(line)) {
    const std::size_t start = skipSpaces(line, 0);
    if (start == line.size()) continue;
    const std::string_view rest = line.substr(start);
    switch (rest[0]) {
      case '[':
        if (isWanted(rest.substr(1))) {
          current_ = loadKey(rest.substr(1));
          if (!wantedKeys_.empty() && current_ != kNoKey) deferSection();
        } else {
          current_ = kNoKey;
          skipSection(kNoKey);
        }
        break;
      case '@':
      case '"':
        if (current_ != kNoKey) loadValue(rest);
        break;
      case '#':
        if (current_ != kNoKey) {
          if (startsWith(rest, "#link")) file_.keys_[current_].link = true;
        } else if (!acceptGlobalOption(rest)) {
          return finish();
        }
        break;
      default:
        break;  // comments, and lines wineserver reports as unrecognised
    }
  }
  return finish();
}

std::size_t WineRegistryParser::countValueLines() const {
  std::size_t count = 0;
  bool lineStart = true;
  for (const char c : text_.substr(pos_)) {
    if (lineStart && !isSpace(c)) {
      if (c == '"' || c == '@') ++count;
      lineStart = false;
    }
    if (c == '\n') lineStart = true;
  }
  return count;
}

void WineRegistryParser::internValueName(std::size_t& offset, std::size_t length) {
  auto& names = file_.names_;
  if (!interning_ || dropping_ || length == 0 || length > 64) return;
  const std::u16string_view name = std::u16string_view(names).substr(offset, length);
  const auto found = internedNames_.find(name);
  if (found != internedNames_.end()) {
    names.resize(offset);
    offset = found->second;
  } else if (internedNames_.size() < 65536) {
    internedNames_.emplace(std::u16string(name), offset);
  }
}

bool WineRegistryParser::acceptGlobalOption(std::string_view line) {
  if (!startsWith(line, "#arch=")) return true;
  const std::string_view arch = line.substr(6);
  if (arch != "win32" && arch != "win64") return false;
  if (arch_.empty()) arch_ = std::string(arch);
  return arch_ == arch;
}

WineRegistryParser::KeyId WineRegistryParser::loadKey(std::string_view text) {
  path_.clear();
  std::size_t next = 0;
  if (!unescape(text, ']', next, [this](char16_t unit) { path_.push_back(unit); })) {
    return kNoKey;
  }
  if (path_.empty() || path_[0] == 0) return WineRegistryFile::kRoot;
  KeyId key = WineRegistryFile::kRoot;
  forEachComponent(path_, [&](std::u16string_view component) {
    key = component.size() > WineRegistryFile::kMaxKeyNameLength ? kNoKey
                                                                 : findOrCreateKey(key, component);
    return key != kNoKey;
  });
  return key;
}

void WineRegistryParser::loadValue(std::string_view line) {
  auto& names = file_.names_;
  auto& data = file_.data_;
  const std::size_t nameStart = names.size();
  std::size_t pos = 1;
  if (line[0] == '"') {
    const std::size_t plainEnd = plainNameEnd(line);
    if (plainEnd != std::string_view::npos) {
      // No escape and no byte above ASCII: unescaping copies the bytes as they are.
      names.resize(nameStart + plainEnd - 1);
      std::copy(line.begin() + 1, line.begin() + static_cast<std::ptrdiff_t>(plainEnd),
                names.begin() + static_cast<std::ptrdiff_t>(nameStart));
      pos = plainEnd + 1;
    } else {
      reserveFor(names, line.size());
      std::size_t next = 0;
      if (!unescape(line.substr(1), '"', next,
                    [&names](char16_t unit) { names.push_back(unit); })) {
        names.resize(nameStart);
        return;
      }
      pos = 1 + next;
    }
  }
  const std::size_t nameLength = names.size() - nameStart;
  pos = skipSpaces(line, pos);
  if (pos >= line.size() || line[pos] != '=' ||
      nameLength > WineRegistryFile::kMaxValueNameLength) {
    names.resize(nameStart);
    return;
  }
  pos = skipSpaces(line, pos + 1);

  std::size_t nameOffset = nameStart;
  internValueName(nameOffset, nameLength);
  WineRegistryFile::Value value;
  value.key = current_;
  value.nameOffset = static_cast<std::uint32_t>(nameOffset);
  value.nameLength = static_cast<std::uint32_t>(nameLength);
  const std::size_t dataStart = data.size();
  std::uint32_t type = kRegNone;
  if (!loadData(line.substr(pos), type) ||
      data.size() - dataStart > std::numeric_limits<std::uint32_t>::max()) {
    // A damaged data part still creates the value, as REG_NONE without data.
    data.resize(dataStart);
    type = kRegNone;
  }
  value.type = type;
  value.dataOffset = static_cast<std::uint32_t>(dataStart);
  value.dataLength = static_cast<std::uint32_t>(data.size() - dataStart);
  file_.values_.push_back(value);
}

std::size_t WineRegistryParser::plainNameEnd(std::string_view line) {
  for (std::size_t p = 1; p < line.size(); ++p) {
    const auto c = static_cast<unsigned char>(line[p]);
    if (c == '"') return p;
    if (c == '\\' || c >= 0x80) return std::string_view::npos;
  }
  return std::string_view::npos;
}

bool WineRegistryParser::loadData(std::string_view text, std::uint32_t& type) {
  // The forms start differently, so the order of the tests only puts the usual one first.
  if (startsWith(text, "hex:")) return loadHex(text.substr(4), type = kRegBinary);
  if (startsWith(text, "\"")) return loadString(text.substr(1), type = kRegSz);
  if (startsWith(text, "str:\"")) return loadString(text.substr(5), type = kRegSz);
  if (startsWith(text, "str(2):\"")) return loadString(text.substr(8), type = kRegExpandSz);
  if (startsWith(text, "str(7):\"")) return loadString(text.substr(8), type = kRegMultiSz);
  if (startsWith(text, "dword:")) {
    type = kRegDword;
    std::size_t end = 0;
    const auto value = static_cast<std::uint32_t>(parseUnsignedHex(text, 6, end));
    for (int shift = 0; shift < 32; shift += 8) {
      file_.data_.push_back(static_cast<char>((value >> shift) & 0xff));
    }
    return true;
  }
  if (startsWith(text, "hex(")) {
    std::size_t end = 0;
    type = static_cast<std::uint32_t>(parseUnsignedHex(text, 4, end));
    if (!startsWith(text.substr(end), "):")) return false;
    return loadHex(text.substr(end + 2), type);
  }
  return false;
}

bool WineRegistryParser::loadString(std::string_view text, std::uint32_t) {
  auto& data = file_.data_;
  reserveFor(data, 2 * text.size() + 2);
  std::size_t next = 0;
  const bool closed = unescape(text, '"', next, [&data](char16_t unit) {
    data.push_back(static_cast<char>(unit & 0xff));
    data.push_back(static_cast<char>(unit >> 8));
  });
  if (!closed) return false;
  data.append(2, '\0');
  return true;
}

bool WineRegistryParser::loadHex(std::string_view text, std::uint32_t) {
  auto& data = file_.data_;
  for (;;) {
    std::size_t p = 0;
    while (isHexDigit(text, p)) {
      std::size_t end = p + 2;
      std::uint64_t byte = 0;
      if (isHexDigit(text, p + 1) && !isHexDigit(text, p + 2)) {
        // The usual two digits: what parseUnsignedHex makes of them, without its generality.
        byte = static_cast<std::uint64_t>(hexDigit(text[p]) * 16 + hexDigit(text[p + 1]));
      } else {
        byte = parseUnsignedHex(text, p, end);
      }
      if (byte > 0xff) return false;
      data.push_back(static_cast<char>(byte));
      p = skipSpaces(text, end);
      if (p < text.size() && text[p] == ',') ++p;
      p = skipSpaces(text, p);
    }
    p = skipSpaces(text, p);
    if (p >= text.size()) return true;
    if (text[p] != '\\') return false;
    if (!nextLine(text)) return false;
    text = text.substr(skipSpaces(text, 0));
  }
}

std::uint64_t WineRegistryParser::hashOf(KeyId parent, std::u16string_view name) {
  std::uint64_t hash = 1469598103934665603ull ^ (std::uint64_t(parent) * 0x9e3779b97f4a7c15ull);
  for (const char16_t unit : name) {
    hash = (hash ^ WineRegistryFile::foldCase(unit)) * 1099511628211ull;
  }
  return hash ^ (hash >> 29);
}

std::u16string_view WineRegistryParser::storedName(KeyId key) const {
  const auto& k = file_.keys_[key];
  return std::u16string_view(file_.names_).substr(k.nameOffset, k.nameLength);
}

WineRegistryParser::KeyId WineRegistryParser::findOrCreateKey(KeyId parent,
                                                              std::u16string_view name) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = hashOf(parent, name) & mask;
  for (; slots_[slot] != kNoKey; slot = (slot + 1) & mask) {
    const KeyId candidate = slots_[slot];
    if (file_.keys_[candidate].parent == parent &&
        WineRegistryFile::compareNames(storedName(candidate), name) == 0) {
      return candidate;
    }
  }
  WineRegistryFile::Key key;
  key.nameOffset = static_cast<std::uint32_t>(file_.names_.size());
  key.nameLength = static_cast<std::uint32_t>(name.size());
  key.parent = parent;
  file_.names_.append(name);
  const auto id = static_cast<KeyId>(file_.keys_.size());
  file_.keys_.push_back(key);
  slots_[slot] = id;
  if (file_.keys_.size() * 2 > slots_.size()) growTable();
  return id;
}

void WineRegistryParser::growTable() {
  slots_.assign(slots_.size() * 2, kNoKey);
  const std::size_t mask = slots_.size() - 1;
  for (KeyId id = 1; id < file_.keys_.size(); ++id) {
    std::size_t slot = hashOf(file_.keys_[id].parent, storedName(id)) & mask;
    while (slots_[slot] != kNoKey) slot = (slot + 1) & mask;
    slots_[slot] = id;
  }
}

}  // namespace sacotin
