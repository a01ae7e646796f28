// flashaspi's System Info on Windows: the system-information component found
// through COM (a stand-in class registered in this process), run, asked for
// its interface and read by table slot: 12 build, 14 version, 13 platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flash/window/system_info_command.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_system_info_component.h"
// After windows.h, which they need.
#include <objbase.h>

namespace {

constexpr CLSID kSysInfoClass = {
    0x6FBA474B, 0x43AC, 0x11CE, {0x9A, 0x0E, 0x00, 0xAA, 0x00, 0x62, 0xBB, 0x4C}};
constexpr IID kSysInfoInterface = {
    0x6FBA474C, 0x43AC, 0x11CE, {0x9A, 0x0E, 0x00, 0xAA, 0x00, 0x62, 0xBB, 0x4C}};

constexpr int kSlotCount = 15;  // IUnknown 0-2, IDispatch 3-6, properties 7-14

// The component: a dual interface whose table answers the three reads and
// records which slot was called; every other slot fails.
struct StandInComponent {
  void* const* table;
  LONG references = 1;
  short build = 2222;
  short platformId = 1;
  float version = 4.1f;
  HRESULT readResult = S_OK;
  std::vector<int> calls;
};

StandInComponent* Self(void* object) { return static_cast<StandInComponent*>(object); }

HRESULT STDMETHODCALLTYPE ComponentQueryInterface(void* object, REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kSysInfoInterface)) {
    ++Self(object)->references;
    *out = object;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE ComponentAddRef(void* object) { return ++Self(object)->references; }
ULONG STDMETHODCALLTYPE ComponentRelease(void* object) { return --Self(object)->references; }
HRESULT STDMETHODCALLTYPE NotThisSlot(void*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE GetBuild(void* object, short* value) {
  Self(object)->calls.push_back(12);
  *value = Self(object)->build;
  return Self(object)->readResult;
}
HRESULT STDMETHODCALLTYPE GetPlatform(void* object, short* value) {
  Self(object)->calls.push_back(13);
  *value = Self(object)->platformId;
  return Self(object)->readResult;
}
HRESULT STDMETHODCALLTYPE GetVersion(void* object, float* value) {
  Self(object)->calls.push_back(14);
  *value = Self(object)->version;
  return Self(object)->readResult;
}

std::vector<void*> ComponentTable() {
  std::vector<void*> table(kSlotCount, reinterpret_cast<void*>(&NotThisSlot));
  table[0] = reinterpret_cast<void*>(&ComponentQueryInterface);
  table[1] = reinterpret_cast<void*>(&ComponentAddRef);
  table[2] = reinterpret_cast<void*>(&ComponentRelease);
  table[12] = reinterpret_cast<void*>(&GetBuild);
  table[13] = reinterpret_cast<void*>(&GetPlatform);
  table[14] = reinterpret_cast<void*>(&GetVersion);
  return table;
}

// The class factory that hands the one component out.
class StandInFactory : public IClassFactory {
 public:
  explicit StandInFactory(StandInComponent& component) : component_(component) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    ++creations;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return ComponentQueryInterface(&component_, iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  int creations = 0;

 private:
  StandInComponent& component_;
};

// The stand-in registered for the class id while a test runs, as a local
// server: found only when the creation asks for one.
class SystemInfoComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    component_.table = table_.data();
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    ASSERT_EQ(::CoRegisterClassObject(kSysInfoClass, &factory_, CLSCTX_LOCAL_SERVER,
                                      REGCLS_MULTIPLEUSE, &cookie_),
              S_OK);
  }
  void TearDown() override {
    if (cookie_ != 0) ::CoRevokeClassObject(cookie_);
    ::CoUninitialize();
  }

  std::vector<void*> table_ = ComponentTable();
  StandInComponent component_{};
  StandInFactory factory_{component_};
  DWORD cookie_ = 0;
};

TEST_F(SystemInfoComponentTest, ReadsGoToTheirTableSlotsAndTheObjectIsReleased) {
  platform::WindowsSystemInfoComponentFactory components;
  std::unique_ptr<platform::SystemInfoComponent> component = components.CreateSystemInfoComponent();
  ASSERT_NE(component, nullptr);
  EXPECT_EQ(factory_.creations, 1);

  short build = 0;
  float version = 0.0f;
  short platformId = 0;
  EXPECT_EQ(component->get_OSBuildNumber(&build), S_OK);
  EXPECT_EQ(component->get_OSVersion(&version), S_OK);
  EXPECT_EQ(component->get_OSPlatform(&platformId), S_OK);
  EXPECT_EQ(build, 2222);
  EXPECT_FLOAT_EQ(version, 4.1f);
  EXPECT_EQ(platformId, 1);
  EXPECT_EQ(component_.calls, (std::vector<int>{12, 14, 13}));

  // System Info reads build, version, platform in that order into its text.
  component_.calls.clear();
  EXPECT_EQ(flash::SystemInfoText(component.get()), "Platform = 1\r\n OS Verison = 4.100.2222");
  EXPECT_EQ(component_.calls, (std::vector<int>{12, 14, 13}));

  // A failed read comes back as the component gave it.
  component_.readResult = E_FAIL;
  EXPECT_EQ(component->get_OSBuildNumber(&build), E_FAIL);

  // The creation's IUnknown is released at once, the interface with the component.
  component.reset();
  EXPECT_EQ(component_.references, 1);
}

TEST_F(SystemInfoComponentTest, MissingClassGivesNoComponent) {
  ::CoRevokeClassObject(cookie_);
  cookie_ = 0;
  platform::WindowsSystemInfoComponentFactory components;
  EXPECT_EQ(components.CreateSystemInfoComponent(), nullptr);
  EXPECT_EQ(factory_.creations, 0);
}

}  // namespace
