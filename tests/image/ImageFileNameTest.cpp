#include "image/ImageFileName.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

TEST(ImageFileName, FileBoxShowsTheNameBehindItsFixedPrefixAndTheHintThePath) {
    const ImageFileName texts = ImageFileName::FromPath("/home/li/固件/app v2.s19");
    EXPECT_EQ(texts.name, "app v2.s19");
    EXPECT_EQ(texts.edit3Text, ".\\..\\app v2.s19");
    EXPECT_EQ(texts.edit3Hint, "/home/li/固件/app v2.s19");
    EXPECT_EQ(ImageFileName::FromPath("/a.s19").name, "a.s19");
    EXPECT_EQ(ImageFileName::FromPath("a.s19").edit3Hint, "a.s19");
}

}  // namespace
}  // namespace vortana
