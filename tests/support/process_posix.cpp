// The POSIX side of the process helper: posix_spawn with pipes, read back
// through poll so that neither output stream can fill up and stall the child.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "process.hpp"

extern char** environ;

namespace kit::test {

namespace {

void check(int rc, const char* what) {
  if (rc != 0) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(rc));
  }
}

struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() {
    if (pipe(fd) != 0) {
      throw std::runtime_error("pipe failed");
    }
  }
  ~Pipe() {
    closeEnd(0);
    closeEnd(1);
  }
  void closeEnd(int end) {
    if (fd[end] >= 0) {
      close(fd[end]);
      fd[end] = -1;
    }
  }
};

}  // namespace

RunResult run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options) {
  Pipe in;
  Pipe out;
  Pipe err;
  posix_spawn_file_actions_t actions;
  check(posix_spawn_file_actions_init(&actions), "posix_spawn_file_actions_init");
  posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
  if (options.stdoutFile.empty()) {
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, options.stdoutFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
  for (const Pipe* p : {&in, &out, &err}) {
    posix_spawn_file_actions_addclose(&actions, p->fd[0]);
    posix_spawn_file_actions_addclose(&actions, p->fd[1]);
  }
  if (!options.cwd.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
  }

  std::vector<std::string> argvStrings;
  argvStrings.push_back(program);
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  argv.reserve(argvStrings.size() + 1);
  for (std::string& s : argvStrings) {
    argv.push_back(s.data());
  }
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  check(rc, ("posix_spawn " + program).c_str());
  in.closeEnd(0);
  out.closeEnd(1);
  err.closeEnd(1);

  // A child that exits early must not kill the test with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  const std::string feed = options.stdinData.value_or("");
  std::size_t fed = 0;
  if (feed.empty()) {
    in.closeEnd(1);
  } else {
    fcntl(in.fd[1], F_SETFL, O_NONBLOCK);
  }

  RunResult result;
  for (;;) {
    pollfd fds[3];
    nfds_t count = 0;
    if (out.fd[0] >= 0) fds[count++] = {out.fd[0], POLLIN, 0};
    if (err.fd[0] >= 0) fds[count++] = {err.fd[0], POLLIN, 0};
    if (in.fd[1] >= 0) fds[count++] = {in.fd[1], POLLOUT, 0};
    if (count == 0) break;
    if (poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == in.fd[1]) {
        const ssize_t n = write(in.fd[1], feed.data() + fed, feed.size() - fed);
        if (n > 0) fed += static_cast<std::size_t>(n);
        if (n < 0 || fed == feed.size()) in.closeEnd(1);
        continue;
      }
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      std::string& target = fds[i].fd == out.fd[0] ? result.out : result.err;
      if (n > 0) {
        target.append(buffer, static_cast<std::size_t>(n));
      } else {
        (fds[i].fd == out.fd[0] ? out : err).closeEnd(0);
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace kit::test
