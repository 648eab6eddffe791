// What the emulated device's installer installs: the product's package, a folder holding the
// files as they are laid out in the installation folder (the build assembles it beside the
// emulator, as a cabinet file would hold them on a real device).
#pragma once

namespace tessaline::emulator {

// The name under which the device knows the installed application; its uninstaller is started
// with it ("unload.exe Tulvane Tessaline").
inline constexpr wchar_t kApplicationName[] = L"Tulvane Tessaline";

// Where the application goes, as a device path.
inline constexpr wchar_t kInstallFolder[] = L"\\Program files\\Tessaline";

// The setup hook library the installer calls before and after it copies the files, and the
// uninstaller before and after it removes them.
inline constexpr wchar_t kSetupLibrary[] = L"TSInstallCE.dll";

// The library that registers itself (DllRegisterServer) once it is in place.
inline constexpr wchar_t kSelfRegisteringLibrary[] = L"Tessaline.dll";

// The package's folder beside the emulator when no other is named.
inline constexpr wchar_t kPackageFolderName[] = L"package";

// The platform's uninstaller, which the installer puts into the device's system folder.
inline constexpr wchar_t kUninstallerProgram[] = L"unload.exe";

}  // namespace tessaline::emulator
