// rc2cpp: compiles resource scripts (.rc, UTF-8) into a C++ source that
// describes the program's resources for the simulated machine, so that the
// .rc files stay the one source of every string table, menu and dialog.
//
// Usage: rc2cpp INPUT.rc OUTPUT.cpp FUNCTION_NAME [-I DIR]...
//
// It understands the subset of the resource-script language our scripts
// use: #include, #define, LANGUAGE, STRINGTABLE, MENU/MENUEX, DIALOG/DIALOGEX
// with the usual control statements, single-file resources (ICON, BITMAP,
// user types) and VERSIONINFO, which it skips. The bytes of user-type
// resources (the payload files the program writes out) are embedded; a
// resource file is found beside the script that names it or on the -I
// paths, as windres finds it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Token {
  enum class Kind { Identifier, Number, String, Punct, End } kind = Kind::End;
  std::string text;  // identifier, punctuation, or the decoded string (UTF-8)
  std::int64_t number = 0;
  std::string where;   // file:line for messages
  std::string folder;  // of the script the token comes from
};

class RcError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the scripts into one token stream, following #include and keeping
// #define values for expressions.
class Lexer {
 public:
  explicit Lexer(std::vector<fs::path> includeDirs) : includeDirs_(std::move(includeDirs)) {}

  void readFile(const fs::path& path) {
    const fs::path canonical = fs::weakly_canonical(path);
    if (!seen_.insert(canonical.string()).second) {
      return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      throw RcError("cannot open " + path.string());
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
      text.erase(0, 3);
    }
    scan(text, path);
  }

  std::vector<Token>& tokens() { return tokens_; }
  const std::map<std::string, std::vector<Token>>& defines() const { return defines_; }

 private:
  void scan(const std::string& text, const fs::path& path) {
    std::size_t pos = 0;
    int line = 1;
    bool lineStart = true;
    auto where = [&] { return path.filename().string() + ":" + std::to_string(line); };
    const std::string folder = path.parent_path().string();
    while (pos < text.size()) {
      const char c = text[pos];
      if (c == '\n') {
        ++line;
        ++pos;
        lineStart = true;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') {
        ++pos;
        continue;
      }
      if (c == '/' && pos + 1 < text.size() && text[pos + 1] == '/') {
        pos = text.find('\n', pos);
        if (pos == std::string::npos) pos = text.size();
        continue;
      }
      if (c == '/' && pos + 1 < text.size() && text[pos + 1] == '*') {
        const std::size_t end = text.find("*/", pos + 2);
        for (std::size_t i = pos; i < std::min(end, text.size()); ++i) {
          if (text[i] == '\n') ++line;
        }
        pos = end == std::string::npos ? text.size() : end + 2;
        continue;
      }
      if (c == '#' && lineStart) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        directive(text.substr(pos + 1, end - pos - 1), path, where());
        pos = end;
        continue;
      }
      lineStart = false;
      tokens_.push_back(readToken(text, pos, where()));
      tokens_.back().folder = folder;
    }
  }

  static Token readToken(const std::string& text, std::size_t& pos, const std::string& where) {
    Token token;
    token.where = where;
    const char c = text[pos];
    if (std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_') {
      const std::size_t start = pos;
      while (pos < text.size() &&
             (std::isalnum(static_cast<unsigned char>(text[pos])) != 0 || text[pos] == '_')) {
        ++pos;
      }
      token.kind = Token::Kind::Identifier;
      token.text = text.substr(start, pos - start);
      return token;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
      const std::size_t start = pos;
      while (pos < text.size() && std::isalnum(static_cast<unsigned char>(text[pos])) != 0) {
        ++pos;
      }
      std::string digits = text.substr(start, pos - start);
      while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                                 digits.back() == 'U' || digits.back() == 'u')) {
        digits.pop_back();
      }
      token.kind = Token::Kind::Number;
      token.number = std::stoll(digits, nullptr, 0);
      token.text = digits;
      return token;
    }
    if (c == '"' || (c == 'L' && pos + 1 < text.size() && text[pos + 1] == '"')) {
      if (c == 'L') ++pos;
      ++pos;
      token.kind = Token::Kind::String;
      while (true) {
        if (pos >= text.size() || text[pos] == '\n') {
          throw RcError(where + ": unterminated string");
        }
        const char s = text[pos++];
        if (s == '"') {
          if (pos < text.size() && text[pos] == '"') {
            token.text += '"';
            ++pos;
            continue;
          }
          break;
        }
        if (s == '\\' && pos < text.size()) {
          const char e = text[pos++];
          switch (e) {
            case 'n':
              token.text += '\n';
              break;
            case 't':
              token.text += '\t';
              break;
            case 'r':
              token.text += '\r';
              break;
            case 'a':
              token.text += '\a';
              break;
            case '0':
              token.text += '\0';
              break;
            case '\\':
              token.text += '\\';
              break;
            case '"':
              token.text += '"';
              break;
            default:
              throw RcError(where + ": unknown escape \\" + std::string(1, e));
          }
          continue;
        }
        token.text += s;
      }
      return token;
    }
    token.kind = Token::Kind::Punct;
    token.text = std::string(1, c);
    ++pos;
    return token;
  }

  void directive(const std::string& body, const fs::path& path, const std::string& where) {
    std::istringstream in(body);
    std::string word;
    in >> word;
    if (word == "include") {
      std::string rest;
      std::getline(in, rest);
      const std::size_t open = rest.find_first_of("\"<");
      const std::size_t close = rest.find_last_of("\">");
      if (open == std::string::npos || close <= open) {
        throw RcError(where + ": malformed #include");
      }
      const std::string name = rest.substr(open + 1, close - open - 1);
      readFile(resolve(name, path.parent_path(), where));
    } else if (word == "define") {
      std::string name;
      in >> name;
      std::string value;
      std::getline(in, value);
      std::vector<Token> valueTokens;
      std::size_t pos = 0;
      while (pos < value.size()) {
        if (std::isspace(static_cast<unsigned char>(value[pos])) != 0) {
          ++pos;
          continue;
        }
        valueTokens.push_back(readToken(value, pos, where));
      }
      defines_[name] = std::move(valueTokens);
    }
    // #pragma, #ifndef, #endif and the like do not change what we read: our
    // headers are guarded and every script is read once.
  }

  fs::path resolve(const std::string& name, const fs::path& here, const std::string& where) const {
    if (fs::exists(here / name)) return here / name;
    for (const auto& dir : includeDirs_) {
      if (fs::exists(dir / name)) return dir / name;
    }
    throw RcError(where + ": cannot find include file " + name);
  }

  std::vector<fs::path> includeDirs_;
  std::set<std::string> seen_;
  std::vector<Token> tokens_;
  std::map<std::string, std::vector<Token>> defines_;
};

struct MenuItem {
  std::string text;
  std::int64_t id = 0;
  std::uint32_t flags = 0;
  std::vector<MenuItem> items;
};

struct Control {
  std::string className;
  std::string text;
  std::int64_t id = 0;
  std::int64_t x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0, exStyle = 0;
};

struct Dialog {
  std::uint16_t language = 0;
  std::int64_t id = 0;
  std::int64_t x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0, exStyle = 0;
  std::string caption, fontFace;
  std::int64_t fontPoints = 0;
  std::vector<Control> controls;
};

struct Resources {
  struct String {
    std::uint16_t language;
    std::int64_t id;
    std::string text;
  };
  struct Menu {
    std::uint16_t language;
    std::int64_t id;
    std::vector<MenuItem> items;
  };
  struct File {
    std::uint16_t language;
    std::string type;
    std::int64_t id;
    std::string path;
    std::string folder;                // of the script that names the file
    std::vector<unsigned char> bytes;  // embedded for user types
  };
  std::vector<String> strings;
  std::vector<Menu> menus;
  std::vector<Dialog> dialogs;
  std::vector<File> files;
};

constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsGroup = 0x00020000;
constexpr std::uint32_t kWsTabStop = 0x00010000;
constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kMfChecked = 0x08;
constexpr std::uint32_t kMfGrayed = 0x01;
constexpr std::uint32_t kMfPopup = 0x10;
constexpr std::uint32_t kMfSeparator = 0x800;

// Default class and style of each control statement.
struct ControlKind {
  const char* className;
  std::uint32_t style;
  bool hasText;
};
const std::map<std::string, ControlKind>& controlKinds() {
  static const std::map<std::string, ControlKind> kinds = {
      {"LTEXT", {"Static", 0x0 | kWsGroup, true}},
      {"CTEXT", {"Static", 0x1 | kWsGroup, true}},
      {"RTEXT", {"Static", 0x2 | kWsGroup, true}},
      {"ICON", {"Static", 0x3, true}},
      {"PUSHBUTTON", {"Button", 0x0 | kWsTabStop, true}},
      {"DEFPUSHBUTTON", {"Button", 0x1 | kWsTabStop, true}},
      {"CHECKBOX", {"Button", 0x2 | kWsTabStop, true}},
      {"AUTOCHECKBOX", {"Button", 0x3 | kWsTabStop, true}},
      {"RADIOBUTTON", {"Button", 0x4, true}},
      {"GROUPBOX", {"Button", 0x7, true}},
      {"AUTORADIOBUTTON", {"Button", 0x9, true}},
      {"EDITTEXT", {"Edit", 0x0 | kWsBorder | kWsTabStop, false}},
      {"COMBOBOX", {"ComboBox", 0x1 | kWsTabStop, false}},
      {"LISTBOX", {"ListBox", 0x1 | kWsBorder, false}},
      {"SCROLLBAR", {"ScrollBar", 0x0, false}},
  };
  return kinds;
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, const std::map<std::string, std::vector<Token>>& defines)
      : tokens_(std::move(tokens)), defines_(defines) {}

  Resources parse() {
    while (!atEnd()) {
      if (isWord("LANGUAGE")) {
        next();
        language_ = languagePair();
      } else if (isWord("STRINGTABLE")) {
        next();
        stringTable();
      } else {
        resource();
      }
    }
    return std::move(out_);
  }

 private:
  bool atEnd() const { return pos_ >= tokens_.size(); }
  const Token& peek() const {
    static const Token end;
    return atEnd() ? end : tokens_[pos_];
  }
  const Token& next() {
    if (atEnd()) throw RcError("unexpected end of script");
    return tokens_[pos_++];
  }
  bool isWord(const char* word) const {
    return peek().kind == Token::Kind::Identifier && peek().text == word;
  }
  bool isPunct(const char* p) const {
    return peek().kind == Token::Kind::Punct && peek().text == p;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw RcError((atEnd() ? std::string("end") : peek().where) + ": " + what);
  }
  void skipComma() {
    if (isPunct(",")) next();
  }
  bool isBegin() const { return isWord("BEGIN") || isPunct("{"); }
  bool isEnd() const { return isWord("END") || isPunct("}"); }
  void expectBegin() {
    if (!isBegin()) fail("expected BEGIN");
    next();
  }
  std::string string() {
    if (peek().kind != Token::Kind::String) fail("expected a string");
    return next().text;
  }

  // A constant expression of numbers, defines, |, +, -, ~ and parentheses,
  // with the resource compiler's NOT, which clears bits from the defaults.
  struct StyleValue {
    std::int64_t set = 0;
    std::int64_t cleared = 0;
  };
  StyleValue styleExpression() {
    StyleValue value;
    bool negate = false;
    while (true) {
      if (isWord("NOT")) {
        next();
        negate = true;
        continue;
      }
      const std::int64_t term = primary();
      (negate ? value.cleared : value.set) |= term;
      negate = false;
      if (isPunct("|")) {
        next();
        continue;
      }
      return value;
    }
  }
  std::int64_t expression() {
    std::int64_t value = primary();
    while (isPunct("|") || isPunct("+") || isPunct("-")) {
      const std::string op = next().text;
      const std::int64_t rhs = primary();
      value = op == "|" ? (value | rhs) : op == "+" ? value + rhs : value - rhs;
    }
    return value;
  }
  std::int64_t primary() {
    if (isPunct("(")) {
      next();
      const std::int64_t value = expression();
      if (!isPunct(")")) fail("expected )");
      next();
      return value;
    }
    if (isPunct("-")) {
      next();
      return -primary();
    }
    if (isPunct("~")) {
      next();
      return ~primary();
    }
    const Token& token = next();
    if (token.kind == Token::Kind::Number) return token.number;
    if (token.kind == Token::Kind::Identifier) {
      const auto found = defines_.find(token.text);
      if (found == defines_.end()) {
        throw RcError(token.where + ": unknown name " + token.text);
      }
      Parser sub(found->second, defines_);
      return sub.expression();
    }
    throw RcError(token.where + ": expected a number, found '" + token.text + "'");
  }
  std::uint16_t languagePair() {
    const std::int64_t primaryLanguage = expression();
    skipComma();
    const std::int64_t sub = expression();
    return static_cast<std::uint16_t>((sub << 10) | primaryLanguage);
  }

  void stringTable() {
    while (!isBegin()) next();  // optional memory attributes
    next();
    while (!isEnd()) {
      const std::int64_t id = expression();
      skipComma();
      out_.strings.push_back({language_, id, string()});
    }
    next();
  }

  void resource() {
    const Token& idToken = next();
    std::int64_t id = 0;
    if (idToken.kind == Token::Kind::Number) {
      id = idToken.number;
    } else if (idToken.kind == Token::Kind::Identifier && defines_.count(idToken.text) != 0) {
      --pos_;
      id = expression();
    } else {
      throw RcError(idToken.where + ": resource id must be a number, found '" + idToken.text + "'");
    }
    const Token& type = next();
    if (type.kind == Token::Kind::Identifier && (type.text == "MENU" || type.text == "MENUEX")) {
      Resources::Menu menu{language_, id, {}};
      menuBody(menu.items);
      out_.menus.push_back(std::move(menu));
    } else if (type.kind == Token::Kind::Identifier &&
               (type.text == "DIALOG" || type.text == "DIALOGEX")) {
      dialog(id);
    } else if (type.kind == Token::Kind::Identifier && type.text == "VERSIONINFO") {
      while (!isBegin()) next();
      skipBlock();
    } else {
      const std::string typeName =
          type.kind == Token::Kind::Number ? "#" + std::to_string(type.number) : type.text;
      while (peek().kind == Token::Kind::Identifier && !isBegin()) next();  // attributes
      if (isBegin()) {
        skipBlock();
      } else {
        const std::string folder = peek().folder;
        out_.files.push_back({language_, typeName, id, string(), folder, {}});
      }
    }
  }

  void skipBlock() {
    int depth = 0;
    do {
      if (isBegin()) ++depth;
      if (isEnd()) --depth;
      next();
    } while (depth > 0);
  }

  void menuBody(std::vector<MenuItem>& items) {
    expectBegin();
    while (!isEnd()) {
      MenuItem item;
      if (isWord("POPUP")) {
        next();
        item.text = string();
        item.flags = kMfPopup;
        while (!isBegin()) next();
        menuBody(item.items);
      } else if (isWord("MENUITEM")) {
        next();
        if (isWord("SEPARATOR")) {
          next();
          item.flags = kMfSeparator;
        } else {
          item.text = string();
          skipComma();
          item.id = expression();
          while (isPunct(",")) {
            next();
            const std::string flag = next().text;
            if (flag == "CHECKED") item.flags |= kMfChecked;
            if (flag == "GRAYED") item.flags |= kMfGrayed;
          }
        }
      } else {
        fail("expected POPUP or MENUITEM");
      }
      items.push_back(std::move(item));
    }
    next();
  }

  void dialog(std::int64_t id) {
    Dialog dlg;
    dlg.language = language_;
    dlg.id = id;
    dlg.x = expression();
    skipComma();
    dlg.y = expression();
    skipComma();
    dlg.width = expression();
    skipComma();
    dlg.height = expression();
    if (isPunct(",")) {  // help id of DIALOGEX
      next();
      expression();
    }
    bool styleGiven = false;
    bool hasCaption = false;
    bool hasFont = false;
    while (!isBegin()) {
      const std::string word = next().text;
      if (word == "STYLE") {
        const StyleValue value = styleExpression();
        dlg.style = static_cast<std::uint32_t>(value.set & ~value.cleared);
        styleGiven = true;
      } else if (word == "EXSTYLE") {
        dlg.exStyle = static_cast<std::uint32_t>(expression());
      } else if (word == "CAPTION") {
        dlg.caption = string();
        hasCaption = true;
      } else if (word == "FONT") {
        dlg.fontPoints = expression();
        skipComma();
        dlg.fontFace = string();
        while (isPunct(",")) {
          next();
          expression();
        }
        hasFont = true;
      } else if (word == "LANGUAGE") {
        dlg.language = languagePair();
      } else if (word == "MENU" || word == "CLASS" || word == "CHARACTERISTICS" ||
                 word == "VERSION") {
        next();
      } else {
        fail("unknown dialog statement " + word);
      }
    }
    if (!styleGiven) dlg.style = kWsPopup | kWsBorder | kWsSysMenu;
    if (hasCaption) dlg.style |= kWsCaption;
    if (hasFont) dlg.style |= kDsSetFont;
    next();
    while (!isEnd()) dlg.controls.push_back(control());
    next();
    out_.dialogs.push_back(std::move(dlg));
  }

  Control control() {
    const Token& statement = next();
    Control control;
    std::uint32_t defaults = kWsChild | kWsVisible;
    if (statement.text == "CONTROL") {
      control.text = textOrOrdinal();
      skipComma();
      control.id = expression();
      skipComma();
      control.className = peek().kind == Token::Kind::String ? string() : next().text;
      skipComma();
      const StyleValue style = styleExpression();
      control.style = static_cast<std::uint32_t>((defaults | style.set) & ~style.cleared);
      skipComma();
      rectangle(control);
      if (isPunct(",")) {
        next();
        control.exStyle = static_cast<std::uint32_t>(expression());
      }
      return control;
    }
    const auto kind = controlKinds().find(statement.text);
    if (kind == controlKinds().end()) {
      throw RcError(statement.where + ": unknown control statement " + statement.text);
    }
    control.className = kind->second.className;
    defaults |= kind->second.style;
    if (kind->second.hasText) {
      control.text = textOrOrdinal();
      skipComma();
    }
    control.id = expression();
    skipComma();
    control.x = expression();
    skipComma();
    control.y = expression();
    if (statement.text != "ICON" || isPunct(",")) {
      skipComma();
      control.width = expression();
      skipComma();
      control.height = expression();
    }
    control.style = defaults;
    if (isPunct(",")) {
      next();
      const StyleValue style = styleExpression();
      control.style = static_cast<std::uint32_t>((defaults | style.set) & ~style.cleared);
    }
    if (isPunct(",")) {
      next();
      control.exStyle = static_cast<std::uint32_t>(expression());
    }
    return control;
  }

  // A control's text, or a resource ordinal written as "#N" (an icon id).
  std::string textOrOrdinal() {
    if (peek().kind == Token::Kind::String) return string();
    return "#" + std::to_string(expression());
  }

  void rectangle(Control& control) {
    control.x = expression();
    skipComma();
    control.y = expression();
    skipComma();
    control.width = expression();
    skipComma();
    control.height = expression();
  }

  std::vector<Token> tokens_;
  const std::map<std::string, std::vector<Token>>& defines_;
  std::size_t pos_ = 0;
  std::uint16_t language_ = 0;
  Resources out_;
};

// UTF-8 to a C++ wide literal with universal character names, which the
// compiler turns into UTF-16 or UTF-32 as wchar_t requires.
std::string wideLiteral(const std::string& utf8) {
  std::string out = "L\"";
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = byte;
    int extra = 0;
    if (byte >= 0xF0) {
      cp = byte & 0x07U;
      extra = 3;
    } else if (byte >= 0xE0) {
      cp = byte & 0x0FU;
      extra = 2;
    } else if (byte >= 0xC0) {
      cp = byte & 0x1FU;
      extra = 1;
    }
    ++i;
    for (int k = 0; k < extra; ++k, ++i) {
      if (i >= utf8.size()) throw RcError("invalid UTF-8 in a string");
      cp = (cp << 6U) | (static_cast<unsigned char>(utf8[i]) & 0x3FU);
    }
    char buf[16];
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp >= 0x20 && cp < 0x7F) {
      out += static_cast<char>(cp);
    } else if (cp < 0xA0) {
      std::snprintf(buf, sizeof buf, "\\x%02X\" L\"", cp);
      out += buf;
    } else {
      std::snprintf(buf, sizeof buf, cp > 0xFFFF ? "\\U%08X" : "\\u%04X", cp);
      out += buf;
    }
  }
  return out + "\"";
}

void writeMenuItems(std::ostream& out, const std::vector<MenuItem>& items) {
  out << "{";
  for (const auto& item : items) {
    out << "{" << wideLiteral(item.text) << ", " << item.id << "U, 0x" << std::hex << item.flags
        << std::dec << "U, ";
    writeMenuItems(out, item.items);
    out << "},";
  }
  out << "}";
}

// The bytes of the embedded files, one array each, before the function.
void writeFileData(std::ostream& out, const Resources& res) {
  out << "namespace {\n\n";
  for (std::size_t i = 0; i < res.files.size(); ++i) {
    const auto& bytes = res.files[i].bytes;
    if (bytes.empty()) continue;
    out << "// " << res.files[i].path << "\nconst std::uint8_t kFile" << i << "[] = {";
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      out << (k % 16 == 0 ? "\n    " : " ") << static_cast<unsigned>(bytes[k]) << ",";
    }
    out << "\n};\n\n";
  }
  out << "}  // namespace\n\n";
}

void writeCpp(std::ostream& out, const Resources& res, const std::string& function) {
  out << "// Generated by rc2cpp from the program's resource scripts. Do not edit.\n"
         "#include \"platform/sim/resource_set.h\"\n\n";
  writeFileData(out, res);
  out << "const plat::sim::ResourceSet& " << function
      << "() {\n"
         "  static const plat::sim::ResourceSet resources = [] {\n"
         "    plat::sim::ResourceSet set;\n";
  for (const auto& s : res.strings) {
    out << "    set.strings.push_back({" << s.language << ", " << s.id << ", "
        << wideLiteral(s.text) << "});\n";
  }
  for (const auto& m : res.menus) {
    out << "    set.menus.push_back({" << m.language << ", " << m.id << ", ";
    writeMenuItems(out, m.items);
    out << "});\n";
  }
  for (const auto& d : res.dialogs) {
    out << "    set.dialogs.push_back({" << d.language << ", " << d.id << ", " << d.x << ", " << d.y
        << ", " << d.width << ", " << d.height << ", 0x" << std::hex << d.style << "U, 0x"
        << d.exStyle << std::dec << "U, " << wideLiteral(d.caption) << ", "
        << wideLiteral(d.fontFace) << ", " << d.fontPoints << ", {";
    for (const auto& c : d.controls) {
      out << "\n        {" << wideLiteral(c.className) << ", " << wideLiteral(c.text) << ", "
          << c.id << ", " << c.x << ", " << c.y << ", " << c.width << ", " << c.height << ", 0x"
          << std::hex << c.style << "U, 0x" << c.exStyle << std::dec << "U},";
    }
    out << "}});\n";
  }
  for (std::size_t i = 0; i < res.files.size(); ++i) {
    const auto& f = res.files[i];
    out << "    set.files.push_back({" << f.language << ", " << wideLiteral(f.type) << ", " << f.id
        << ", \"" << f.path << "\", ";
    if (f.bytes.empty()) {
      out << "nullptr, 0});\n";
    } else {
      out << "kFile" << i << ", sizeof kFile" << i << "});\n";
    }
  }
  out << "    return set;\n  }();\n  return resources;\n}\n";
}

bool isImageType(const std::string& type) {
  return type == "ICON" || type == "BITMAP" || type == "CURSOR";
}

// Finds each file resource as windres does (beside the script that names
// it, then on the -I paths) and keeps its absolute path, from which the
// simulated machine reads images; the bytes of the other files (the payload
// the program writes out) are embedded.
void resolveFiles(Resources& res, const std::vector<fs::path>& includeDirs) {
  for (auto& f : res.files) {
    std::vector<fs::path> candidates = {fs::path(f.folder) / f.path};
    for (const auto& dir : includeDirs) candidates.push_back(dir / f.path);
    if (fs::path(f.path).is_absolute()) candidates = {f.path};
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [](const fs::path& p) { return fs::is_regular_file(p); });
    if (found == candidates.end()) throw RcError("cannot find resource file " + f.path);
    f.path = fs::absolute(*found).lexically_normal().string();
    if (isImageType(f.type)) continue;
    std::ifstream in(*found, std::ios::binary);
    f.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) throw RcError("cannot read resource file " + f.path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: rc2cpp INPUT.rc OUTPUT.cpp FUNCTION_NAME [-I DIR]...\n";
    return 2;
  }
  std::vector<fs::path> includeDirs;
  for (int i = 4; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "-I") includeDirs.emplace_back(argv[i + 1]);
  }
  try {
    Lexer lexer(includeDirs);
    lexer.readFile(argv[1]);
    Parser parser(std::move(lexer.tokens()), lexer.defines());
    Resources resources = parser.parse();
    resolveFiles(resources, includeDirs);
    std::ostringstream text;
    writeCpp(text, resources, argv[3]);
    std::ofstream out(argv[2], std::ios::binary);
    out << text.str();
    if (!out) {
      std::cerr << "rc2cpp: cannot write " << argv[2] << "\n";
      return 1;
    }
  } catch (const RcError& error) {
    std::cerr << "rc2cpp: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
