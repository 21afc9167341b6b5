// The platform factory of the process (created by VSTGUI::init).
#pragma once

namespace VSTGUI {

class LinuxFactory;

class IPlatformFactory {
public:
   virtual ~IPlatformFactory() noexcept = default;
   virtual const LinuxFactory* asLinuxFactory() const = 0;
};

IPlatformFactory& getPlatformFactory();

} // namespace VSTGUI
