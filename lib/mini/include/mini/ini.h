#pragma once
// A small INI reader and writer. Section and key names are case-sensitive. Writing updates the
// file's existing lines in place and appends what is new, so the user's comments, blank lines,
// spacing and other sections survive; entries removed from the structure are removed from the file.

#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mINI {

namespace detail {
inline std::string trim(const std::string& s) {
   const char* ws = " \t\r\n\f\v";
   const size_t b = s.find_first_not_of(ws);
   if (b == std::string::npos)
      return {};
   return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

enum class LineKind { Blank, Comment, Section, KeyValue, Other };

struct ParsedLine {
   LineKind kind = LineKind::Other;
   std::string name;  // section name or key
   std::string value; // value of a key line
};

inline ParsedLine parseLine(const std::string& raw) {
   ParsedLine p;
   const std::string line = trim(raw);
   if (line.empty()) {
      p.kind = LineKind::Blank;
   } else if (line[0] == ';' || line[0] == '#') {
      p.kind = LineKind::Comment;
   } else if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close != std::string::npos) {
         p.kind = LineKind::Section;
         p.name = trim(line.substr(1, close - 1));
      }
   } else if (const size_t eq = line.find('='); eq != std::string::npos) {
      p.kind = LineKind::KeyValue;
      p.name = trim(line.substr(0, eq));
      p.value = trim(line.substr(eq + 1));
   }
   return p;
}

inline bool readLines(const std::string& path, std::vector<std::string>& lines) {
   std::ifstream in(path, std::ios::binary);
   if (!in)
      return false;
   std::string line;
   while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r')
         line.pop_back();
      lines.push_back(line);
   }
   return true;
}
} // namespace detail

// An insertion-ordered map from names to values.
template <typename T> class INIMap {
public:
   T& operator[](const std::string& key) {
      auto it = index_.find(key);
      if (it != index_.end())
         return items_[it->second].second;
      index_.emplace(key, items_.size());
      items_.emplace_back(key, T{});
      return items_.back().second;
   }
   T get(const std::string& key) const {
      auto it = index_.find(key);
      return it == index_.end() ? T{} : items_[it->second].second;
   }
   bool has(const std::string& key) const { return index_.count(key) != 0; }
   void set(const std::string& key, T value) { (*this)[key] = std::move(value); }
   bool remove(const std::string& key) {
      auto it = index_.find(key);
      if (it == index_.end())
         return false;
      items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(it->second));
      rebuildIndex();
      return true;
   }
   void clear() {
      items_.clear();
      index_.clear();
   }
   size_t size() const { return items_.size(); }
   auto begin() const { return items_.begin(); }
   auto end() const { return items_.end(); }

private:
   void rebuildIndex() {
      index_.clear();
      for (size_t i = 0; i < items_.size(); ++i)
         index_.emplace(items_[i].first, i);
   }
   std::vector<std::pair<std::string, T>> items_;
   std::unordered_map<std::string, size_t> index_;
};

using INIStructure = INIMap<INIMap<std::string>>;

class INIFile {
public:
   explicit INIFile(std::string path) : path_(std::move(path)) {}

   // Fills the structure from the file; false (and an untouched structure) when it can't be read.
   bool read(INIStructure& ini) const {
      std::vector<std::string> lines;
      if (!detail::readLines(path_, lines))
         return false;
      std::string section;
      for (const auto& raw : lines) {
         const auto p = detail::parseLine(raw);
         if (p.kind == detail::LineKind::Section) {
            section = p.name;
            ini[section];
         } else if (p.kind == detail::LineKind::KeyValue) {
            ini[section][p.name] = p.value;
         }
      }
      return true;
   }

   // Writes the structure, keeping the existing file's layout where entries are unchanged.
   // pretty puts spaces around "=" in lines it writes.
   bool write(const INIStructure& ini, bool pretty = false) const {
      std::vector<std::string> lines;
      detail::readLines(path_, lines);
      const std::string out = merge(lines, ini, pretty);
      std::ofstream file(path_, std::ios::binary | std::ios::trunc);
      if (!file)
         return false;
      file << out;
      return static_cast<bool>(file.flush());
   }

   // Writes the structure to a new file, replacing whatever was there.
   bool generate(const INIStructure& ini, bool pretty = false) const {
      std::ofstream file(path_, std::ios::binary | std::ios::trunc);
      if (!file)
         return false;
      file << merge({}, ini, pretty);
      return static_cast<bool>(file.flush());
   }

private:
   static std::string keyLine(const std::string& key, const std::string& value, bool pretty) {
      return key + (pretty ? " = " : "=") + value;
   }

   static std::string merge(const std::vector<std::string>& lines, const INIStructure& ini, bool pretty) {
      std::vector<std::string> out;
      INIMap<INIMap<bool>> written; // which keys of which sections are already in the output
      std::string section;
      bool keepSection = true;
      size_t lastKeyLine = 0; // where new keys of the current section go (index into out)

      auto flushNewKeys = [&](const std::string& name) {
         if (!keepSection || !ini.has(name))
            return;
         std::vector<std::string> added;
         for (const auto& [key, value] : ini.get(name))
            if (!written[name].has(key)) {
               added.push_back(keyLine(key, value, pretty));
               written[name][key] = true;
            }
         out.insert(out.begin() + static_cast<std::ptrdiff_t>(lastKeyLine), added.begin(), added.end());
      };

      // Lines before the first section header belong to the unnamed section "".
      for (const auto& raw : lines) {
         const auto p = detail::parseLine(raw);
         if (p.kind == detail::LineKind::Section) {
            flushNewKeys(section);
            section = p.name;
            keepSection = ini.has(section);
            written[section];
            if (keepSection) {
               out.push_back(raw);
               lastKeyLine = out.size();
            }
            continue;
         }
         if (!keepSection)
            continue;
         if (p.kind == detail::LineKind::KeyValue) {
            const auto& keys = ini.get(section);
            if (!keys.has(p.name) || written[section].has(p.name))
               continue; // removed from the structure, or a duplicate
            written[section][p.name] = true;
            const std::string value = keys.get(p.name);
            out.push_back(value == p.value ? raw : keyLine(p.name, value, pretty));
            lastKeyLine = out.size();
         } else {
            out.push_back(raw);
         }
      }
      flushNewKeys(section);

      for (const auto& [name, keys] : ini) {
         if (written.has(name) || (name.empty() && keys.size() == 0))
            continue;
         if (!out.empty() && !detail::trim(out.back()).empty())
            out.emplace_back();
         if (!name.empty())
            out.push_back("[" + name + "]");
         for (const auto& [key, value] : keys)
            out.push_back(keyLine(key, value, pretty));
         written[name];
      }

      std::ostringstream text;
      for (const auto& l : out)
         text << l << "\n";
      return text.str();
   }

   std::string path_;
};

} // namespace mINI
