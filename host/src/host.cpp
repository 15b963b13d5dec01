// foxhost::Host: the public API over Host::Impl, and the host side of the language.
#include <ctime>

#include "errors.hpp"
#include "host_impl.hpp"
#include "lang/evaluator.hpp"
#include "lang/parser.hpp"
#include "script.hpp"
#include "signals.hpp"
#include "text.hpp"

namespace foxhost {
namespace {

// Marks a public entry point; when the outermost one ends, the terminal leaves raw mode so
// that the prompt can read a line.
class TopLevelScope {
 public:
  TopLevelScope(int &depth, Keyboard &keyboard) : depth_(depth), keyboard_(keyboard) { ++depth_; }
  ~TopLevelScope() {
    if (--depth_ == 0) keyboard_.restoreTerminal();
  }
  TopLevelScope(const TopLevelScope &) = delete;
  TopLevelScope &operator=(const TopLevelScope &) = delete;

 private:
  int &depth_;
  Keyboard &keyboard_;
};

constexpr const char *kWaitPrompt = "Press any key to continue...";

}  // namespace

// ---- Impl: the language context ---------------------------------------------------------

Host::Impl::Impl(Options o) : options(o) { clock.advanceMicros = options.clockStepMicros; }

Host::Impl::~Impl() { releaseLibraries(); }

Value Host::Impl::evaluateText(const std::string &expression) {
  lang::Parser parser(expression);
  const lang::ExprPtr e = parser.parseExpressionOnly();
  return lang::evaluate(*e, *this);
}

void Host::Impl::executeText(const std::string &command, bool interactive) {
  lang::Parser parser(command);
  const lang::Statement s = parser.parseStatement();
  lang::run(s, *this, interactive);
}

void Host::Impl::write(const std::string &text) {
  output += text;
  if (options.out) {
    *options.out << text;
    options.out->flush();
  }
}

uint64_t Host::Impl::nowMillis() const {
  if (options.virtualClock) return clock.nowMicros / 1000u;
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

Value Host::Impl::variable(const std::string &name) {
  const auto it = variables.find(name);
  if (it == variables.end())
    err::fail(err::kVariableNotFound, "Variable '" + name + "' is not found");
  return it->second;
}

void Host::Impl::setVariable(const std::string &name, const Value &value) {
  variables[name] = value;
}

namespace {
uint32_t objectOf(const Value &v, const std::string &property) {
  if (v.type != 'O')
    err::fail(err::kNotAnObject,
              "'" + property + "' is a property, but the value is not an object");
  return v.object;
}
}  // namespace

Value Host::Impl::property(const Value &object, const std::string &name) {
  return objects.get(objectOf(object, name), name);
}

void Host::Impl::setProperty(const Value &object, const std::string &name, const Value &value) {
  objects.set(objectOf(object, name), name, value, false);
}

uint32_t Host::Impl::createObject(const std::string &className) {
  return objects.create(className, windows);
}

Value Host::Impl::callLibrary(const std::string &name, const std::vector<Value> &args) {
  return call(name, args);
}

std::string Host::Impl::setting(const std::string &name) {
  if (name == "DATE") return dateFormat;
  if (name == "LIBRARY") {
    std::string list;
    for (const auto &lib : libraries) list += (list.empty() ? "" : ",") + lib->path();
    return list;
  }
  err::fail(err::kOutOfRange, "SET(): unknown setting " + name);
}

void Host::Impl::setLibrary(const std::string &path, bool additive) {
  if (path.empty()) {
    releaseLibraries();
    return;
  }
  loadLibrary(path, additive);
}

void Host::Impl::waitWindow(const std::optional<std::string> &text, bool nowait) {
  waitText = text.value_or(kWaitPrompt);
  write(waitText + "\n");
  if (!nowait) {
    waitForKey();
    waitText.clear();
  }
}

// ---- Host -------------------------------------------------------------------------------

Host::Host() : Host(Options{}) {}
Host::Host(Options options) : impl_(std::make_unique<Impl>(options)) {}
Host::~Host() = default;

void Host::loadLibrary(const std::string &path, bool additive) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  impl_->loadLibrary(path, additive);
}

void Host::releaseLibraries() { impl_->releaseLibraries(); }

bool Host::hasFunction(const std::string &name) const {
  return impl_->findFunction(toUpper(name), nullptr) != nullptr;
}

Value Host::call(const std::string &name, const std::vector<Value> &args) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  return impl_->call(name, args);
}

Value Host::evaluate(const std::string &expression) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  return impl_->evaluateText(expression);
}

void Host::execute(const std::string &command) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  impl_->executeText(command, false);
}

void Host::executeInteractive(const std::string &line) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  impl_->executeText(line, true);
}

void Host::runScript(std::istream &in, const std::string &name) {
  TopLevelScope top(impl_->topLevel, impl_->keyboard);
  ScriptReader reader(in);
  ScriptCommand command;
  while (!impl_->quitRequested && !signals::pending() && reader.next(command)) {
    try {
      impl_->executeText(command.text, false);
    } catch (const HostError &e) {
      throw HostError(e.number(),
                      name + ", line " + std::to_string(command.line) + ": " + e.what());
    }
  }
}

void Host::setVariable(const std::string &name, const Value &value) {
  impl_->setVariable(toUpper(name), value);
}

Value Host::variable(const std::string &name) const { return impl_->variable(toUpper(name)); }

uint32_t Host::createObject(const std::string &className) { return impl_->createObject(className); }

Value Host::property(uint32_t object, const std::string &name) const {
  return impl_->objects.get(object, name);
}

void Host::setProperty(uint32_t object, const std::string &name, const Value &value) {
  impl_->objects.set(object, name, value, true);
}

void Host::queueKey(int32_t code, uint64_t atMillis) { impl_->keyboard.queue(code, atMillis); }
void Host::useKeySource(KeySource source) { impl_->keyboard.useSource(source); }
size_t Host::pendingKeys() const { return impl_->keyboard.pending(); }

uint64_t Host::nowMillis() const { return impl_->nowMillis(); }

FoxVirtualClock *Host::virtualClock() {
  return impl_->options.virtualClock ? &impl_->clock : nullptr;
}

std::string Host::dateFormat() const { return impl_->dateFormat; }

std::string Host::takeOutput() {
  std::string out;
  out.swap(impl_->output);
  return out;
}

const std::vector<std::string> &Host::executedCommands() const { return impl_->executed; }

std::string Host::windowText(int32_t window) const { return impl_->windows.text(window); }

HandleCounters Host::handleCounters() const { return impl_->handles.counters(); }
void Host::setHandleLimit(size_t bytes) { impl_->handles.setLimit(bytes); }

std::string Host::waitWindowText() const { return impl_->waitText; }

std::vector<std::string> Host::libraries() const {
  std::vector<std::string> paths;
  for (const auto &lib : impl_->libraries) paths.push_back(lib->path());
  return paths;
}

bool Host::quitRequested() const { return impl_->quitRequested; }

int32_t Host::mainWindow() const { return Windows::kMainWindow; }

int32_t Host::objectWindow(uint32_t object, bool client) const {
  return impl_->objects.window(object, client);
}

int32_t Host::systemWindow(int32_t window) const {
  return impl_->windows.exists(window) ? Windows::systemHandle(window) : 0;
}

WindowRect Host::windowRect(int32_t window) const {
  return impl_->windows.rect(window).value_or(WindowRect{});
}

void Host::setWindowRect(int32_t window, const WindowRect &rect) {
  if (!impl_->windows.setRect(window, rect)) {
    err::fail(err::kOutOfRange, "Invalid window " + std::to_string(window));
  }
}

int32_t Host::service(FoxServiceArgs &args) { return impl_->service(args); }

}  // namespace foxhost
