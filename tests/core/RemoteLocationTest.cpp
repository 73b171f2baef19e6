#include "core/RemoteLocation.h"

#include <gtest/gtest.h>

// Only a scheme makes a location remote: folders whose names begin with "http" or "ftp" are
// folders (a web site's "httpdocs" among them).
TEST(RemoteLocation, OnlyARealSchemeIsRemote)
{
    const struct {
        const char* location;
        bool remote;
    } cases[] = {
        { "http://updates.example/bramblecot", true },
        { "HTTPS://updates.example/", true },
        { "Ftp://files.example/updates", true },
        { "ftps://files.example/updates", true },
        { "hTtP://mixed.example", true },
        { "ftp-updates", false },
        { "ftp/updates", false },
        { "httpdocs", false },
        { "HttpDocs/updates", false },
        { "httpdocs/bramblecot.exe", false },
        { "http:/updates", false },
        { "https:updates", false },
        { "/srv/http://mirror", false },
        { "file:///srv/updates", false },
        { "", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRemoteLocation(QString::fromLatin1(c.location)), c.remote) << c.location;
}
