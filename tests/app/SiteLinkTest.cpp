#include "app/SiteLink.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"

namespace tamblor {

TEST(SiteLink, OnlyWebAddressesAreOpened) {
    EXPECT_TRUE(IsWebLink("http://example.org/"));
    EXPECT_TRUE(IsWebLink("HTTPS://example.org/game"));
    for (const char* bad : {"", "http://", "file:///etc/passwd", "example.org", "javascript:alert(1)",
                            "https://a b", "https://x\n--help", "-https://x", "/usr/bin/xterm"}) {
        EXPECT_FALSE(IsWebLink(bad)) << bad;
    }
    test::TempDir dir;
    FileSystem files(dir.Path(), dir.Path());
    Log log(files);
    Settings settings(files, log);
    EXPECT_EQ(ReadSiteLink(settings), "");  // no file: nothing
    dir.Write("site.url", "[InternetShortcut]\r\nURL=https://example.org/tamblor\r\n");
    EXPECT_EQ(ReadSiteLink(settings), "https://example.org/tamblor");
    dir.Write("site.url", "[InternetShortcut]\r\nURL=file:///home\r\n");
    EXPECT_EQ(ReadSiteLink(settings), "");
}

}  // namespace tamblor
