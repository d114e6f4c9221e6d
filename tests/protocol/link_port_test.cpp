#include "protocol/link_port.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "frame/failure_text.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "support/fault_port.h"
#include "support/module_fixture.h"
#include "support/pty_pair.h"
#include "support/test_folder.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;
using testing::FaultPort;
using testing::PtyPair;

class LinkPortTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_byte_port(&fault_);
  }
  void TearDown() override {
    ClosePort();
    platform::set_byte_port(nullptr);
    ModuleTest::TearDown();
  }
  FaultPort fault_;
};

TEST_F(LinkPortTest, SerialPortIsSetTo9600EightBitsNoParityTwoStopBitsRaw) {
  PtyPair pty;
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(OpenPort(pty.slave_name().c_str()), 1);
  EXPECT_GT(m().port.handle(), 0);
  EXPECT_EQ(ConfigurePort(kSerialBaud, kSerialParity, kSerialStopBits), 1);

  termios tio{};
  ASSERT_EQ(tcgetattr(pty.master(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(tio.c_cflag & PARENB, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(LinkPortTest, PurgeDropsPendingInput) {
  PtyPair pty;
  ASSERT_EQ(OpenPort(pty.slave_name().c_str()), 1);
  ConfigurePort(kSerialBaud, kSerialParity, kSerialStopBits);
  pty.send({1, 2, 3});
  usleep(20000);
  PurgePort();
  uint8_t byte = 0;
  EXPECT_EQ(ReadPort(&byte, 1).count, 0u);
}

TEST_F(LinkPortTest, OpenFailureSetsItsFlagKeepsNoHandleAndSaysWhy) {
  PtyPair pty;
  // Another user of the library holds this one.
  std::unique_ptr<platform::BytePort> other = platform::make_system_byte_port();
  ASSERT_GT(other->open_serial(pty.slave_name().c_str()), 0);
  const std::string plain = testing::TestFolder() + "/not-a-line";
  std::ofstream(plain) << "not a line";
  const struct {
    std::string port;
    std::string reason;
  } kRefused[] = {
      {"/nonexistent/tty", "cannot open port /nonexistent/tty: No such file or directory"},
      {"/dev/null", "port /dev/null is not a terminal device"},
      {plain, "port " + plain + " is not a terminal device"},
      {pty.slave_name(), "port " + pty.slave_name() + " is busy"},
  };
  for (const auto& refused : kRefused) {
    SetStateFlag(frame::kFlagPortOpenFailed, 0);
    EXPECT_EQ(OpenPort(refused.port.c_str()), 0) << refused.port;
    EXPECT_EQ(GetStateFlag(frame::kFlagPortOpenFailed), 1) << refused.port;
    EXPECT_EQ(m().port.handle(), 0) << refused.port;
    EXPECT_EQ(frame::GetFailureText().rfind(refused.reason, 0), 0u) << frame::GetFailureText();
  }
  std::remove(plain.c_str());
  // Once the other user lets go the port is free, and a fault of the open is still a failure.
  other->close();
  ASSERT_EQ(OpenPort(pty.slave_name().c_str()), 1);
  ClosePort();
  SetStateFlag(frame::kFlagPortOpenFailed, 0);
  fault_.fail(FaultPort::Op::OpenSerial, 1);
  EXPECT_EQ(OpenPort(pty.slave_name().c_str()), 0);
  EXPECT_EQ(GetStateFlag(frame::kFlagPortOpenFailed), 1);
}

TEST_F(LinkPortTest, NothingOpensWhileAThreadHoldsThePort) {
  PtyPair pty;
  SetStateFlag(frame::kFlagPortHeld, 1);
  EXPECT_EQ(OpenPort(pty.slave_name().c_str()), 0);
  EXPECT_EQ(m().port.handle(), 0);
  EXPECT_EQ(GetStateFlag(frame::kFlagPortOpenFailed), 0);
  SetStateFlag(frame::kFlagPortHeld, 0);
}

TEST_F(LinkPortTest, UsbAdapterTakesTheLowestDeviceFileThatOpens) {
  fault_.usb_files = {1, 2, 3};
  SetStateFlag(frame::kFlagUsbAdapter, 1);
  ASSERT_EQ(OpenPort(nullptr), 1);
  EXPECT_EQ(m().port.handle(), 101);
  EXPECT_EQ(fault_.usb_opens.load(), 2);
  EXPECT_EQ(GetStateFlag(frame::kFlagUsbDriverKit), 0);
}

TEST_F(LinkPortTest, UsbAdapterAbsentEverywhereFails) {
  SetStateFlag(frame::kFlagUsbAdapter, 1);
  EXPECT_EQ(OpenPort(nullptr), 0);
  EXPECT_EQ(fault_.usb_opens.load(), 4);
  EXPECT_EQ(GetStateFlag(frame::kFlagPortOpenFailed), 1);
  EXPECT_EQ(GetStateFlag(frame::kFlagUsbDriverKit), 0);
}

TEST_F(LinkPortTest, TestUsbPortReportsHandleOrAge) {
  fault_.usb_files = {2};
  EXPECT_EQ(TestUSBPort(), 102);
  EXPECT_EQ(fault_.closes.load(), 1);

  fault_.supports_usb = false;
  fault_.usb_opens = 0;
  EXPECT_EQ(TestUSBPort(), -10);
  EXPECT_EQ(fault_.usb_opens.load(), 0);

  fault_.supports_usb = true;
  fault_.usb_files.clear();
  EXPECT_EQ(TestUSBPort(), 0);
}

}  // namespace
}  // namespace quibra::protocol
