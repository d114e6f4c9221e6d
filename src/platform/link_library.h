// The wireless-link library interface of the platform seam: the closed companion library that
// drives the wireless adapter, resolved by ordinal. On Windows it is OrvekKelvo.dll with
// entries by ordinal; on Linux libOrvekKelvo.so with entries named OrvekKelvo_<ordinal>, taken
// from the path in QUIBRA_KELVO_LIBRARY when that is set, else from the default library search.
//
// Threads: load runs on the application's thread; the calls may come from the application's
// thread or the online thread, never from both at once (the engine keeps them apart).
#pragma once

#include <cstdint>
#include <memory>

namespace quibra::platform {

inline constexpr const char* kLinkLibraryVariable = "QUIBRA_KELVO_LIBRARY";
// Ordinal 6 fills at most this many bytes of the packet buffer (10 entries of 8 bytes, with
// room to spare).
inline constexpr int kLinkPacketBufferBytes = 256;

class LinkLibrary {
 public:
  virtual ~LinkLibrary() = default;
  // Loads the library and resolves every entry; true when all are there. Loading again after a
  // success does nothing.
  virtual bool load() = 0;
  // Ordinal 1: opens a device (or starts the search for the device list).
  virtual int32_t open(uint8_t link_type, int32_t device_or_list) = 0;
  // Ordinal 4: fills up to 32 device-id slots, returns the number found.
  virtual uint8_t list_devices(int32_t* slots) = 0;
  // Ordinals 6 and 12: the next packet of entries (1..10), 0xFF or 0xFE for no link.
  virtual uint8_t packet(int32_t device, uint8_t* buffer) = 0;
  virtual uint8_t packet_extended(int32_t device, uint8_t* buffer) = 0;
  // Ordinal 9: two values passed through.
  virtual uint8_t relax(int32_t a, int32_t b) = 0;
  // Ordinal 2: closes the link; ordinal 3: pauses or resumes it.
  virtual void close() = 0;
  virtual void pause() = 0;
};

// A new loader of the system's (posix or win32 backend, chosen at build time), nothing loaded
// yet. Destroying it unloads the library.
std::unique_ptr<LinkLibrary> make_system_link_library();

}  // namespace quibra::platform
