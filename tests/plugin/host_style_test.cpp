// The plug-in as a third-party host sees it: loaded with dlopen, entry points
// found by their plain names, decoders driven through decoder_1d_interface.
#include <gtest/gtest.h>

#include <exception>
#include <typeinfo>

#include "read/decoder_plugin.h"

namespace {

class HostStyle : public ::testing::Test {
 protected:
  decoder_plugin plugin{TARN_PLUGIN_PATH};
};

TEST_F(HostStyle, ReportsItsVersionThroughTheInterface) {
  auto decoder = plugin.new_decoder();
  EXPECT_EQ(decoder->getversion(), "6.6.0.5300");
  EXPECT_EQ(decoder->getversion(), "6.6.0.5300");
}

TEST_F(HostStyle, ObjectsAreIndependentAndOnePointerWide) {
  decoder_1d_interface* first = plugin.new_server_interface()(0);
  decoder_1d_interface* second = plugin.new_server_interface()(0);
  EXPECT_NE(first, second);
  EXPECT_STREQ(typeid(*first).name(), "14tarn_code39ext");
  plugin.delete_server_interface()(0, first);
  EXPECT_EQ(second->getversion(), "6.6.0.5300");
  delete second;  // the virtual destructor reaches the derived class
}

TEST_F(HostStyle, RefusesEveryNonZeroSelector) {
  for (int selector : {1, -1, 7, 1 << 30}) {
    EXPECT_THROW(plugin.new_server_interface()(selector), std::exception)
        << selector;
  }
}

TEST_F(HostStyle, DeleteWithABadSelectorLeavesTheObjectToTheCaller) {
  decoder_1d_interface* decoder = plugin.new_server_interface()(0);
  EXPECT_THROW(plugin.delete_server_interface()(7, decoder), std::exception);
  EXPECT_EQ(decoder->getversion(), "6.6.0.5300");
  plugin.delete_server_interface()(0, decoder);
}

TEST_F(HostStyle, DeletingNullIsHarmless) {
  plugin.delete_server_interface()(0, nullptr);
}

TEST_F(HostStyle, ThrowsThePlainStandardException) {
  try {
    plugin.new_server_interface()(1);
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_EQ(typeid(e), typeid(std::exception));
  }
}

TEST(PluginLoading, AMissingLibraryIsReportedWithTheLoadersWords) {
  try {
    decoder_plugin plugin("/nonexistent/libtarn_code39ext.so");
    FAIL() << "loaded a missing library";
  } catch (const plugin_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/libtarn_code39ext.so"),
              std::string::npos);
  }
}

}  // namespace
