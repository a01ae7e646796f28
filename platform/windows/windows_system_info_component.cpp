// WindowsSystemInfoComponentFactory.
#include "platform/windows/windows_system_info_component.h"

#include "platform/windows/win32.h"
// After windows.h, which they need.
#include <objbase.h>
#include <ole2.h>

namespace platform {

namespace {

constexpr CLSID kSysInfoClass = {
    0x6FBA474B, 0x43AC, 0x11CE, {0x9A, 0x0E, 0x00, 0xAA, 0x00, 0x62, 0xBB, 0x4C}};
constexpr IID kSysInfoInterface = {
    0x6FBA474C, 0x43AC, 0x11CE, {0x9A, 0x0E, 0x00, 0xAA, 0x00, 0x62, 0xBB, 0x4C}};

// The interface's table slots of the three property reads.
constexpr int kOsBuildNumberSlot = 12;
constexpr int kOsPlatformSlot = 13;
constexpr int kOsVersionSlot = 14;

class WindowsSystemInfoComponent : public SystemInfoComponent {
 public:
  explicit WindowsSystemInfoComponent(IUnknown* object) : object_(object) {}
  ~WindowsSystemInfoComponent() override { object_->Release(); }
  WindowsSystemInfoComponent(const WindowsSystemInfoComponent&) = delete;
  WindowsSystemInfoComponent& operator=(const WindowsSystemInfoComponent&) = delete;

  HResult get_OSBuildNumber(Short* build) override { return Call(kOsBuildNumberSlot, build); }
  HResult get_OSPlatform(Short* platformId) override { return Call(kOsPlatformSlot, platformId); }
  HResult get_OSVersion(float* version) override { return Call(kOsVersionSlot, version); }

 private:
  template <typename Value>
  HResult Call(int slot, Value* value) {
    using Getter = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Value*);
    void* const* table = *reinterpret_cast<void* const* const*>(object_);
    return reinterpret_cast<Getter>(table[slot])(object_, value);
  }

  IUnknown* object_;
};

}  // namespace

WindowsSystemInfoComponentFactory::~WindowsSystemInfoComponentFactory() {
  if (initialised_) ::CoUninitialize();
}

std::unique_ptr<SystemInfoComponent>
WindowsSystemInfoComponentFactory::CreateSystemInfoComponent() {
  if (!initialised_) {
    if (FAILED(::CoInitialize(nullptr))) return nullptr;
    initialised_ = true;
  }
  IUnknown* unknown = nullptr;
  // In-process server, in-process handler or local server: wherever the
  // component is registered.
  constexpr DWORD kContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
  if (FAILED(::CoCreateInstance(kSysInfoClass, nullptr, kContext, IID_IUnknown,
                                reinterpret_cast<void**>(&unknown)))) {
    return nullptr;
  }
  IUnknown* object = nullptr;
  const bool ready =
      SUCCEEDED(::OleRun(unknown)) &&
      SUCCEEDED(unknown->QueryInterface(kSysInfoInterface, reinterpret_cast<void**>(&object)));
  unknown->Release();
  if (!ready) return nullptr;
  return std::make_unique<WindowsSystemInfoComponent>(object);
}

}  // namespace platform
