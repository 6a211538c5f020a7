// Only this server's own page may drive the phone: Host names this server, and a
// browser's Origin and Sec-Fetch-Site say the request comes from it.
#include "sim/lumetrix-sim/serve/RequestGuard.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(Serve_RequestGuard, TheServersOwnNamesAreAccepted)
{
    RequestGuard guard("127.0.0.1", 8137);
    for (const char* host : { "127.0.0.1:8137", "localhost:8137", "LOCALHOST:8137", "[::1]:8137" })
        EXPECT_FALSE(guard.refusal(host, "", "")) << host;
    EXPECT_FALSE(guard.refusal("127.0.0.1:8137", "http://127.0.0.1:8137", "same-origin"));
    EXPECT_FALSE(guard.refusal("localhost:8137", "http://localhost:8137", ""));
}

TEST(Serve_RequestGuard, ANameSomeoneElseControlsIsRefused)
{
    RequestGuard guard("127.0.0.1", 8137);
    // A rebound DNS name reaches this server with the attacker's name in Host.
    for (const char* host : { "evil.example:8137", "127.0.0.1:8138", "127.0.0.1", "", "127.0.0.1:8137x" })
        EXPECT_TRUE(guard.refusal(host, "", "")) << host;
}

TEST(Serve_RequestGuard, AnotherSitesPageIsRefused)
{
    RequestGuard guard("127.0.0.1", 8137);
    for (const char* origin : { "http://evil.example", "null", "https://127.0.0.1:8137", "http://127.0.0.1:9999", "http://127.0.0.1:8137.evil.example" })
        EXPECT_TRUE(guard.refusal("127.0.0.1:8137", origin, "")) << origin;
    EXPECT_TRUE(guard.refusal("127.0.0.1:8137", "", "cross-site"));
    EXPECT_FALSE(guard.refusal("127.0.0.1:8137", "", "none")) << "typed into the address bar";
}

TEST(Serve_RequestGuard, ListeningEverywhereTakesAddressesButNoNames)
{
    RequestGuard guard("0.0.0.0", 80);
    EXPECT_FALSE(guard.refusal("192.168.1.5:80", "", ""));
    EXPECT_FALSE(guard.refusal("[fe80::1]:80", "http://[fe80::1]:80", ""));
    EXPECT_TRUE(guard.refusal("phone.evil.example:80", "", ""));
    RequestGuard named("192.168.1.5", 80);
    EXPECT_FALSE(named.refusal("192.168.1.5:80", "http://192.168.1.5:80", ""));
    EXPECT_TRUE(named.refusal("192.168.1.6:80", "", ""));
}

} // namespace
} // namespace sim
