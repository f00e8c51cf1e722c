// Reads the main program's resource scripts as text, for the tests that
// check the dialog templates against their control tables: the #define
// names of the id headers, and every DIALOG with its controls.
#ifndef QV_TESTS_RESOURCES_RC_SCRIPT_H
#define QV_TESTS_RESOURCES_RC_SCRIPT_H

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::test {

inline std::filesystem::path ProjectRoot() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

// Names and values of the "#define NAME value" lines of the id headers; a
// value may name an earlier definition.
class IdNames {
public:
    void AddHeader(const std::filesystem::path& path) {
        std::istringstream lines(ReadText(path));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string directive, name, value;
            if (!(words >> directive >> name >> value) || directive != "#define") continue;
            if (name.rfind("IDC_", 0) != 0) continue;
            const std::optional<int> number = Resolve(value);
            if (!number) throw std::runtime_error("unresolved value of " + name);
            if (!values_.emplace(name, *number).second) throw std::runtime_error("defined twice: " + name);
        }
    }

    std::optional<int> Resolve(const std::string& token) const {
        if (token == "IDOK") return 1;
        if (token == "IDCANCEL") return 2;
        if (!token.empty() && (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-'))
            return std::stoi(token);
        auto it = values_.find(token);
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }

    const std::map<std::string, int>& All() const { return values_; }

private:
    std::map<std::string, int> values_;
};

struct RcControl {
    std::string text;
    int id = -1;
    std::string idName;  // as written in the script
    std::string cls;     // window class: Button, Static, Edit, ...
    std::string style;   // style expression as written
    int x = 0, y = 0, w = 0, h = 0;

    bool HasStyle(const std::string& flag) const {
        std::istringstream parts(style);
        std::string part;
        while (std::getline(parts, part, '|'))
            if (Trim(part) == flag) return true;
        return false;
    }
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
};

struct RcDialog {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
    std::string style, caption, cls, font;
    std::vector<RcControl> controls;

    std::vector<const RcControl*> WithId(int id) const {
        std::vector<const RcControl*> found;
        for (const RcControl& c : controls)
            if (c.id == id) found.push_back(&c);
        return found;
    }
    const RcControl* Find(int id) const {
        auto found = WithId(id);
        return found.size() == 1 ? found[0] : nullptr;
    }
};

// Splits "a, b, c" at commas that stand outside quotes.
inline std::vector<std::string> SplitFields(const std::string& s) {
    std::vector<std::string> fields;
    std::string current;
    bool quoted = false;
    for (char ch : s) {
        if (ch == '"') quoted = !quoted;
        if (ch == ',' && !quoted) {
            fields.push_back(Trim(current));
            current.clear();
        } else {
            current += ch;
        }
    }
    fields.push_back(Trim(current));
    return fields;
}

inline std::string Unquote(const std::string& s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') throw std::runtime_error("not a quoted text: " + s);
    return s.substr(1, s.size() - 2);
}

// Every DIALOG of one script (included scripts are not followed).
inline std::vector<RcDialog> ParseDialogs(const std::string& script, const IdNames& ids) {
    std::vector<RcDialog> dialogs;
    std::istringstream lines(script);
    std::string raw;
    RcDialog* open = nullptr;
    bool inBody = false;
    while (std::getline(lines, raw)) {
        const std::string line = Trim(raw);
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (!open && second == "DIALOG") {
            dialogs.emplace_back();
            open = &dialogs.back();
            open->name = first;
            const auto f = SplitFields(line.substr(line.find("DIALOG") + 6));
            if (f.size() != 4) throw std::runtime_error("bad DIALOG line: " + line);
            open->x = std::stoi(f[0]);
            open->y = std::stoi(f[1]);
            open->w = std::stoi(f[2]);
            open->h = std::stoi(f[3]);
            inBody = false;
            continue;
        }
        if (!open) continue;
        if (!inBody) {
            const std::string rest = Trim(line.substr(first.size()));
            if (first == "STYLE") open->style = rest;
            else if (first == "CAPTION") open->caption = Unquote(rest);
            else if (first == "CLASS") open->cls = Unquote(rest);
            else if (first == "FONT") open->font = rest;
            else if (first == "BEGIN") inBody = true;
            else throw std::runtime_error("unexpected line in dialog header: " + line);
            continue;
        }
        if (first == "END") {
            open = nullptr;
            continue;
        }
        if (first != "CONTROL") throw std::runtime_error("only CONTROL statements are expected: " + line);
        const auto f = SplitFields(line.substr(7));
        if (f.size() != 8) throw std::runtime_error("bad CONTROL line: " + line);
        RcControl c;
        c.text = Unquote(f[0]);
        c.idName = f[1];
        const std::optional<int> id = ids.Resolve(f[1]);
        if (!id) throw std::runtime_error("unknown id " + f[1]);
        c.id = *id;
        c.cls = Unquote(f[2]);
        c.style = f[3];
        c.x = std::stoi(f[4]);
        c.y = std::stoi(f[5]);
        c.w = std::stoi(f[6]);
        c.h = std::stoi(f[7]);
        open->controls.push_back(c);
    }
    if (open) throw std::runtime_error("dialog without END: " + open->name);
    return dialogs;
}

inline IdNames ProjectIdNames() {
    IdNames ids;
    const auto root = ProjectRoot();
    for (const char* header : {"manager/manager_ids.h", "librarian/librarian_ids.h", "editor/editor_ids.h",
                               "settings/settings_ids.h"})
        ids.AddHeader(root / header);
    return ids;
}

// The one dialog of resources/<file>, which must be named `name`.
inline RcDialog LoadDialog(const std::string& file, const std::string& name) {
    const auto dialogs = ParseDialogs(ReadText(ProjectRoot() / "resources" / file), ProjectIdNames());
    if (dialogs.size() != 1 || dialogs[0].name != name)
        throw std::runtime_error(file + " should hold exactly the dialog " + name);
    return dialogs[0];
}

}  // namespace qv::test

#endif
