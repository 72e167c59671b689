// Downloads through the real "Microsoft.XMLHTTP" object (Wine's msxml3)
// from a small HTTP server on 127.0.0.1 that the test runs on a thread.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/decode/url_fetch.h"

namespace kodaro {
namespace {

// Answers each connection by the request's path: "/missing" gets a 404
// page, anything else a 200 with the picture bytes. Keeps the last request
// it read. (The whole-program test covers a server that never answers.)
class LocalServer {
public:
    LocalServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 8);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalServer() {
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }

    std::wstring Url(const std::wstring& path) const {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
    }
    std::string LastRequest() {
        std::lock_guard lock(mutex_);
        return last_;
    }
    const std::string body = "picture bytes \x01\x02";

private:
    void Serve() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) {
                return;
            }
            const std::string request = ReadRequest(client);
            {
                std::lock_guard lock(mutex_);
                last_ = request;
            }
            const bool missing = request.find(" /missing ") != std::string::npos;
            const std::string content = missing ? "<html>no such file</html>" : body;
            const std::string response =
                std::string(missing ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK") +
                "\r\nContent-Length: " + std::to_string(content.size()) +
                "\r\nConnection: close\r\n\r\n" + content;
            send(client, response.data(), static_cast<int>(response.size()), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }
    // Head and, when it announces one, the body.
    static std::string ReadRequest(SOCKET client) {
        std::string request;
        char buffer[4096];
        for (;;) {
            const std::size_t head = request.find("\r\n\r\n");
            if (head != std::string::npos) {
                const std::size_t field = request.find("Content-Length: ");
                const std::size_t length =
                    field == std::string::npos ? 0 : std::stoul(request.substr(field + 16));
                if (request.size() >= head + 4 + length) {
                    return request;
                }
            }
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) {
                return request;
            }
            request.append(buffer, n);
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::string last_;
};

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(FetchUrlBytes, GetsTheBodyAndTellsAnErrorStatusApart) {
    LocalServer server;
    const FetchResult picture = FetchUrlBytes(server.Url(L"/qr.png"));
    EXPECT_TRUE(picture.Succeeded());
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(picture.body, Bytes(server.body));
    EXPECT_EQ(server.LastRequest().rfind("GET /qr.png HTTP/1.1\r\n", 0), 0u);

    const FetchResult missing = FetchUrlBytes(server.Url(L"/missing"));
    EXPECT_TRUE(missing.completed);
    EXPECT_EQ(missing.status, 404);
    EXPECT_FALSE(missing.Succeeded());
}

TEST(FetchUrlBytes, PostsAFormWithCredentialsOrItsOwnHeader) {
    LocalServer server;
    FetchRequest form;
    form.method = L"POST";
    form.body = Bytes("a=1&b=2");
    form.user = L"ann";
    form.password = L"secret";
    ASSERT_TRUE(FetchUrlBytes(server.Url(L"/form"), form).Succeeded());
    std::string seen = server.LastRequest();
    EXPECT_EQ(seen.rfind("POST /form HTTP/1.1\r\n", 0), 0u) << seen;
    EXPECT_NE(seen.find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
    EXPECT_EQ(seen.substr(seen.size() - 7), "a=1&b=2");

    FetchRequest own = form;
    own.user.reset();
    own.headerName = L"Content-Type";
    own.headerValue = L"text/plain";
    ASSERT_TRUE(FetchUrlBytes(server.Url(L"/own"), own).Succeeded());
    seen = server.LastRequest();
    EXPECT_NE(seen.find("Content-Type: text/plain"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("x-www-form-urlencoded"), std::string::npos);
}

} // namespace
} // namespace kodaro
