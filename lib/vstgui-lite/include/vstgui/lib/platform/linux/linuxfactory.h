// The Linux platform factory: where bitmaps and fonts of the caller's bundle are found.
#pragma once

#include "../platformfactory.h"

#include <string>

namespace VSTGUI {

class LinuxFactory final : public IPlatformFactory {
public:
   const LinuxFactory* asLinuxFactory() const override { return this; }

   // Relative bitmap names are looked up in path; its "Fonts/" sub-folder (when it exists) is added to
   // the font folders of the process, with the family rules of a "fonts.conf" found there.
   void setResourcePath(const std::string& path) const;
   const std::string& getResourcePath() const { return resourcePath; }

private:
   mutable std::string resourcePath;
};

} // namespace VSTGUI
