// For programs without a protocol module (link checks, tools, unit tests):
// they behave as torvek_uci does where the layers ask which program runs.
namespace torvek {
extern const bool kWinBoard;
const bool kWinBoard = false;
}  // namespace torvek
