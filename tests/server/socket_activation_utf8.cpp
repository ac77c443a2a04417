// tunova-server started the way its socket unit starts it: systemd-socket-activate listens,
// hands the socket over on the first connection, and the server answers on it; with no options
// it serves the library its config file names, and it ends itself once idle.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "server_fixture.h"
#include "support/test_paths.h"

namespace tunova::server::testing {
namespace {

// A port nothing listens on now (the kernel's pick for a socket closed at once).
int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

// systemd-socket-activate on 127.0.0.1:`port` for the built server with `options`, errors into
// `log`; the environment it passes on is only HOME and the XDG folders of `home`.
class ActivatedServer {
  public:
    ActivatedServer(int port, const std::filesystem::path& home,
                    const std::vector<std::string>& options, const std::filesystem::path& log) {
        std::vector<std::string> argv = {"systemd-socket-activate",
                                         "-l",
                                         "127.0.0.1:" + std::to_string(port),
                                         "-E",
                                         "HOME=" + home.string(),
                                         "-E",
                                         "XDG_CONFIG_HOME=" + (home / ".config").string(),
                                         "-E",
                                         "XDG_DATA_HOME=" + (home / ".local/share").string(),
                                         tunova::testing::RunDir() + "/tunova-server"};
        argv.insert(argv.end(), options.begin(), options.end());
        std::vector<char*> args;
        for (std::string& a : argv) {
            args.push_back(a.data());
        }
        args.push_back(nullptr);
        const std::string logPath = log.string();
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) {
                _exit(127);
            }
            const int errors = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(errors, STDERR_FILENO);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~ActivatedServer() {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    // The exit status once the process ended within `limitMs`, else -1.
    int WaitForExit(int limitMs) {
        for (int waited = 0; waited < limitMs; waited += 20) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
};

// GET `path` on the port, once it accepts connections (within 5 s).
httplib::Result Get(int port, const std::string& path) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(0, 200000);
    client.set_read_timeout(20, 0);
    for (int attempt = 0; attempt < 25; ++attempt) {
        if (httplib::Result result = client.Get(path)) {
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return client.Get(path);
}

TEST(SocketActivationTest, WithoutOptionsTheServerTakesTheSocketAndTheConfiguredLibrary) {
    TempFolder home;
    const std::filesystem::path library = home.path() / "my videos";
    WriteLibrary(library, {{"a.webm", "Clip A", "tunovaclip", "ko", 4, 1, kNow}});
    // A real clip in place of the placeholder bytes: the server probes what it lists.
    const std::string clip = (library / "a.webm").string();
    ASSERT_EQ(std::system(("ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=96x54:rate=10:"
                           "duration=1 -c:v libvpx -deadline realtime -b:v 50k '" +
                           clip + "'")
                              .c_str()),
              0);
    WriteFile(home.path() / ".config/tunova/server.conf",
              "# the library, not ~/Videos\nlibrary = ~/my videos\n");
    const int port = FreePort();
    ActivatedServer server(port, home.path(), {}, home.path() / "server.log");
    const httplib::Result version = Get(port, "/update/player_ver.php");
    ASSERT_TRUE(version) << ReadFile(home.path() / "server.log");
    EXPECT_EQ(version->status, 200);
    EXPECT_EQ(version->body, "1");
    const httplib::Result feed =
        Get(port, FeedPath("vq=tunovaclip&orderby=relevance&max-results=30&start-index=1"));
    ASSERT_TRUE(feed);
    EXPECT_NE(feed->body.find("<title type='text'>Clip A</title>"), std::string::npos)
        << feed->body;
    // Socket-activated, it stays while there is no long idle time.
    EXPECT_EQ(server.WaitForExit(300), -1);
}

TEST(SocketActivationTest, ASocketActivatedServerEndsItselfOnceIdle) {
    TempFolder home;
    const int port = FreePort();
    ActivatedServer server(
        port, home.path(),
        {"--db", (home.path() / "catalogue.sqlite").string(), "--idle-exit", "300"},
        home.path() / "server.log");
    const httplib::Result version = Get(port, "/update/player_ver.php");
    ASSERT_TRUE(version) << ReadFile(home.path() / "server.log");
    EXPECT_EQ(version->body, "1");
    EXPECT_EQ(server.WaitForExit(10000), 0) << ReadFile(home.path() / "server.log");
    EXPECT_NE(ReadFile(home.path() / "server.log").find("idle"), std::string::npos);
}

}  // namespace
}  // namespace tunova::server::testing
