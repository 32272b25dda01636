#include "host/HostJournal.h"

#include <atomic>

namespace {
std::atomic<bool> g_kept{false};
}  // namespace

void HostJournals::keep(bool on) { g_kept.store(on); }

bool HostJournals::kept() { return g_kept.load(); }
