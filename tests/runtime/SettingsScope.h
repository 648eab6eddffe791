// Restores the process-wide settings record that a test of the runtime changed.
#pragma once

#include "settings/Settings.h"

namespace tessaline::testing {

class SettingsScope {
 public:
  SettingsScope() : saved_(GetSettings()) {}
  ~SettingsScope() { GetSettings() = saved_; }

 private:
  Settings saved_;
};

}  // namespace tessaline::testing
