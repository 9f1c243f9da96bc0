#pragma once
// A small HTTP server on 127.0.0.1 for the download tests, started and stopped by the test itself:
// canned documents by path, a status of 404 for anything else, one path whose requests are accepted
// and never answered, and documents of any size made on the fly (never held whole). Runs on a thread
// of its own; one request per connection.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tintal {

#ifdef _WIN32
using SocketHandle = SOCKET;
inline constexpr SocketHandle kNoSocket = INVALID_SOCKET;
inline void closeSocket(SocketHandle s) { closesocket(s); }
struct SocketLibrary {
    SocketLibrary() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~SocketLibrary() { WSACleanup(); }
};
#else
using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;
inline void closeSocket(SocketHandle s) { close(s); }
struct SocketLibrary {};
#endif

// A socket bound to a free port of 127.0.0.1 (listening when asked).
inline SocketHandle boundSocket(int& port, bool listening) {
    SocketHandle s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    if (listening) listen(s, 16);
    return s;
}

// A port of 127.0.0.1 where nothing listens: connections to it are refused.
inline int refusedPort() {
    [[maybe_unused]] SocketLibrary library;
    int port = 0;
    closeSocket(boundSocket(port, false));
    return port;
}

class LocalHttpServer {
public:
    LocalHttpServer() : listener_(boundSocket(port_, true)), thread_([this] { serve(); }) {}
    ~LocalHttpServer() {
        stopping_ = true;
        thread_.join();
        for (SocketHandle s : held_) closeSocket(s);
        closeSocket(listener_);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void serve(const std::string& path, std::string document) {
        std::lock_guard<std::mutex> lock(mutex_);
        documents_[path] = std::move(document);
    }
    // Requests for this path are read and then left without an answer.
    void holdSilent(const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex_);
        silent_ = path;
    }
    // A document of `size` bytes made while it is sent, with its length declared or only ended by the
    // close of the connection.
    void serveGenerated(const std::string& path, std::uint64_t size, bool declareLength) {
        std::lock_guard<std::mutex> lock(mutex_);
        generated_[path] = {size, declareLength};
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::vector<std::string> requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    void serve() {
        while (!stopping_) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(listener_, &ready);
            timeval wait{0, 20000};
            if (select(static_cast<int>(listener_) + 1, &ready, nullptr, nullptr, &wait) <= 0) continue;
            SocketHandle client = accept(listener_, nullptr, nullptr);
            if (client != kNoSocket) answer(client);
        }
    }

    void answer(SocketHandle client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const auto start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        std::string reply;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
            if (path == silent_) {
                held_.push_back(client);
                return;
            }
            if (const auto made = generated_.find(path); made != generated_.end()) {
                reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n";
                if (made->second.declareLength)
                    reply += "Content-Length: " + std::to_string(made->second.size) + "\r\n";
                reply += "\r\n";
                sendAll(client, reply);
                sendGenerated(client, made->second.size);
                closeSocket(client);
                return;
            }
            const auto found = documents_.find(path);
            const bool ok = found != documents_.end();
            const std::string body = ok ? found->second : "<html><body>404 Not Found</body></html>\n";
            reply =
                std::string(ok ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                "\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n\r\n" + body;
        }
        sendAll(client, reply);
        closeSocket(client);
    }

    // False once the client has gone (a refused document): the rest is not sent.
    static bool sendAll(SocketHandle client, const std::string& bytes) {
#ifdef MSG_NOSIGNAL
        constexpr int kFlags = MSG_NOSIGNAL;  // a client that hung up must not kill the test with SIGPIPE
#else
        constexpr int kFlags = 0;
#endif
        for (std::size_t sent = 0; sent < bytes.size();) {
            const int n = send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), kFlags);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    void sendGenerated(SocketHandle client, std::uint64_t size) {
        const std::string chunk(64 * 1024, 'x');
        for (std::uint64_t sent = 0; sent < size && !stopping_; sent += chunk.size()) {
            if (!sendAll(client,
                         chunk.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - sent)))))
                return;
        }
    }

    [[maybe_unused]] SocketLibrary library_;  // held for its lifetime: the Windows socket library
    int port_ = 0;
    SocketHandle listener_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::map<std::string, std::string> documents_;
    struct Generated {
        std::uint64_t size;
        bool declareLength;
    };
    std::map<std::string, Generated> generated_;
    std::string silent_;
    std::vector<std::string> requests_;
    std::vector<SocketHandle> held_;
    std::thread thread_;
};

}  // namespace tintal
