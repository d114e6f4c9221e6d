// A stand-in for the wireless-link library, loaded by the library's own loader in the tests:
// one device (0x1234) opens, three devices are listed, and every call is counted.
#include <cstdint>

namespace {
int g_open_calls = 0;
int g_close_calls = 0;
int g_packet_calls = 0;
int32_t g_last_open_value = 0;
uint8_t g_last_link_type = 0;
uint8_t g_packet_result = 3;
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t OrvekKelvo_1(uint8_t link_type, int32_t value) {
  ++g_open_calls;
  g_last_link_type = link_type;
  g_last_open_value = value;
  return value == 0x1234 ? 18001 : 17000;
}
__attribute__((visibility("default"))) void OrvekKelvo_2() {
  ++g_close_calls;
}
__attribute__((visibility("default"))) void OrvekKelvo_3() {}
__attribute__((visibility("default"))) uint8_t OrvekKelvo_4(int32_t* slots) {
  slots[0] = 0x1234;
  slots[1] = 0x5678;
  slots[2] = 0x9ABC;
  return 3;
}
__attribute__((visibility("default"))) uint8_t OrvekKelvo_6(int32_t, uint8_t* buffer) {
  ++g_packet_calls;
  buffer[0] = 1;
  return g_packet_result;
}
__attribute__((visibility("default"))) uint8_t OrvekKelvo_9(int32_t, int32_t) {
  return 0;
}
__attribute__((visibility("default"))) uint8_t OrvekKelvo_12(int32_t, uint8_t*) {
  return 0;
}

// For the tests: the counters, and the answer of ordinal 6.
__attribute__((visibility("default"))) void FakeLink_Counters(int* opens, int* closes, int* packets,
                                                              int32_t* last_value,
                                                              uint8_t* last_link_type) {
  *opens = g_open_calls;
  *closes = g_close_calls;
  *packets = g_packet_calls;
  *last_value = g_last_open_value;
  *last_link_type = g_last_link_type;
}
__attribute__((visibility("default"))) void FakeLink_SetPacketResult(uint8_t result) {
  g_packet_result = result;
}
}
