// Kernel objects of the simulated machine: the objects behind a process's
// handles (mutexes, threads), and the simulated threads themselves.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <thread>

#include "platform/api/types.h"
#include "platform/sim/model/window_table.h"

namespace plat::sim {

class SimProcess;
struct SimThread;

struct KernelObject {
  KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
  virtual ~KernelObject() = default;
};

struct MutexObject : KernelObject {
  std::wstring name;
  SimThread* owner = nullptr;
  int recursion = 0;
};

struct ThreadObject : KernelObject {
  SimThread* thread = nullptr;
};

struct SimThread {
  std::uint32_t id = 0;
  SimProcess* process = nullptr;
  LangId uiLanguage = 0;  // 0 until SetThreadUILanguage
  Lcid locale = 0;        // 0 until SetThreadLocale
  std::deque<PostedMessage> queue;
  bool finished = false;
  Dword exitCode = 0;
  std::thread thread;
};

}  // namespace plat::sim
