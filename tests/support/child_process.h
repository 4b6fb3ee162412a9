#pragma once

// A child process with pipes to its standard input and output (POSIX), for tests and
// benchmarks that drive the built tool as a user's program would.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace railscen::testing {

class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& argv) {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[0]);
            close(in[1]);
            close(out[0]);
            close(out[1]);
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_child_ = in[1];
        from_child_ = out[0];
        signal(SIGPIPE, SIG_IGN);
    }
    ~ChildProcess() {
        close_input();
        if (from_child_ >= 0) close(from_child_);
        if (pid_ > 0 && !exit_code_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the child no longer reads.
    bool write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(to_child_, bytes.data(), bytes.size());
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    void close_input() {
        if (to_child_ >= 0) close(to_child_);
        to_child_ = -1;
    }

    // Appends what the child writes within the timeout to buffer(); false on timeout or end.
    bool read_more(std::chrono::milliseconds timeout) {
        pollfd p{from_child_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
        char chunk[65536];
        const ssize_t n = ::read(from_child_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }
    std::string& buffer() { return buffer_; }

    // Reads until the buffer holds text; returns everything up to and including it.
    std::optional<std::string> read_until(std::string_view text,
                                          std::chrono::milliseconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (true) {
            const std::size_t at = buffer_.find(text);
            if (at != std::string::npos) {
                std::string head = buffer_.substr(0, at + text.size());
                buffer_.erase(0, at + text.size());
                return head;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !read_more(left)) return std::nullopt;
        }
    }

    void interrupt() { kill(pid_, SIGINT); }

    // The exit status (128 + signal for a signal), or nullopt when the child is still running
    // after the timeout.
    std::optional<int> wait(std::chrono::milliseconds timeout) {
        if (exit_code_) return exit_code_;
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (true) {
            int status = 0;
            const pid_t r = waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return exit_code_;
            }
            if (std::chrono::steady_clock::now() >= until) return std::nullopt;
            usleep(5000);
        }
    }

  private:
    pid_t pid_ = -1;
    int to_child_ = -1;
    int from_child_ = -1;
    std::string buffer_;
    std::optional<int> exit_code_;
};

}  // namespace railscen::testing
