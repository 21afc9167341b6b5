// UTF-8 text as the toolkit passes it around.
#pragma once

#include "vstguibase.h"

#include <string>

namespace VSTGUI {

class UTF8String {
public:
   UTF8String(UTF8StringPtr str = nullptr) : string(str ? str : "") {}
   UTF8String(const std::string& str) : string(str) {}
   UTF8String(std::string&& str) noexcept : string(std::move(str)) {}

   size_t getByteCount() const noexcept { return string.size(); }
   bool empty() const noexcept { return string.empty(); }
   UTF8StringPtr data() const noexcept { return string.data(); }
   const std::string& getString() const noexcept { return string; }
   operator UTF8StringPtr() const noexcept { return string.data(); }

   void assign(UTF8StringPtr str) { string = str ? str : ""; }
   void clear() noexcept { string.clear(); }

   UTF8String& operator+=(const UTF8String& other) {
      string += other.string;
      return *this;
   }
   bool operator==(UTF8StringPtr str) const { return string == (str ? str : ""); }
   bool operator!=(UTF8StringPtr str) const { return !(*this == str); }
   bool operator==(const UTF8String& other) const { return string == other.string; }
   bool operator!=(const UTF8String& other) const { return string != other.string; }
   bool operator==(const std::string& str) const { return string == str; }
   bool operator!=(const std::string& str) const { return string != str; }

private:
   std::string string;
};

inline UTF8String operator+(const UTF8String& a, const UTF8String& b) {
   return UTF8String(a.getString() + b.getString());
}

} // namespace VSTGUI
