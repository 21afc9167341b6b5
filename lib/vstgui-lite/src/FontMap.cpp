#include "FontMap.h"

#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <sys/stat.h>
#include <vector>

namespace VSTGUI::Fonts {

namespace {

PangoFontMap* map = nullptr;
std::vector<std::string>* folders = nullptr;

bool isDirectory(const std::string& path) {
   struct stat info {};
   return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void addToConfig(FcConfig* config, const std::string& folder) {
   FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(folder.c_str()));
   const std::string rules = folder + (folder.back() == '/' ? "" : "/") + "fonts.conf";
   struct stat info {};
   if (stat(rules.c_str(), &info) == 0 && S_ISREG(info.st_mode))
      FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(rules.c_str()), FcFalse);
}

} // namespace

PangoFontMap* fontMap() {
   if (!map) {
      FcConfig* config = FcInitLoadConfigAndFonts();
      if (folders)
         for (const auto& folder : *folders)
            addToConfig(config, folder);
      map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
      if (!map)
         map = pango_cairo_font_map_new();
      pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
      FcConfigDestroy(config); // the font map holds its own reference
   }
   return map;
}

PangoContext* createContext() {
   return pango_font_map_create_context(fontMap());
}

void addFontFolder(const std::string& folder) {
   if (folder.empty() || !isDirectory(folder))
      return;
   if (!folders)
      folders = new std::vector<std::string>;
   if (std::find(folders->begin(), folders->end(), folder) != folders->end())
      return;
   folders->push_back(folder);
   if (map) {
      addToConfig(pango_fc_font_map_get_config(PANGO_FC_FONT_MAP(map)), folder);
      pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
   }
}

void shutdown() {
   if (map)
      g_object_unref(map);
   map = nullptr;
   delete folders;
   folders = nullptr;
}

} // namespace VSTGUI::Fonts
