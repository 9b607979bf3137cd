// Mailbox announcements: new, urgent and saved messages, faxes and recorded
// calls.
#pragma once

#include <cstdint>
#include <string>

namespace vemba {

/// The seven counters of an announcement, in the order a value carries them.
struct AnnounceCounts {
  int64_t new_messages = 0;     // N
  int64_t urgent_messages = 0;  // U
  int64_t saved_messages = 0;   // S
  int64_t new_faxes = 0;        // NF
  int64_t saved_faxes = 0;      // SF
  int64_t new_recorded = 0;     // NR
  int64_t saved_recorded = 0;   // SR
};

/// The announcement as prompt names; out is replaced. mode and option are
/// accepted and have no effect.
void en_announce(int mode, int option, std::string& out, const AnnounceCounts& counts);

}  // namespace vemba
