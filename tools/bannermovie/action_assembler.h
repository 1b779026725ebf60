#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "byte_writer.h"

namespace bannermovie {

// The AVM1 actions the banner's scripts use. Codes from 0x80 up carry a length and operands.
enum class ActionCode : std::uint8_t {
    End = 0x00,
    Stop = 0x07,
    Subtract = 0x0B,
    Multiply = 0x0C,
    Divide = 0x0D,
    Not = 0x12,
    Pop = 0x17,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    Trace = 0x26,
    DefineLocal = 0x3C,
    CallFunction = 0x3D,
    Return = 0x3E,
    Modulo = 0x3F,
    NewObject = 0x40,
    InitArray = 0x42,
    TypeOf = 0x44,
    Add2 = 0x47,
    Less2 = 0x48,
    Equals2 = 0x49,
    ToNumber = 0x4A,
    PushDuplicate = 0x4C,
    GetMember = 0x4E,
    SetMember = 0x4F,
    Increment = 0x50,
    CallMethod = 0x52,
    NewMethod = 0x53,
    Enumerate2 = 0x55,
    BitAnd = 0x60,
    BitRShift = 0x64,
    StoreRegister = 0x87,
    ConstantPool = 0x88,
    Push = 0x96,
    Jump = 0x99,
    GetUrl2 = 0x9A,
    DefineFunction = 0x9B,
    If = 0x9D,
};

// GetURL2's flags: 0 opens a url in a window; LoadTarget loads a movie or picture into a clip.
inline constexpr std::uint8_t kGetUrlInWindow = 0x00;
inline constexpr std::uint8_t kGetUrlLoadTarget = 0x40;
// GetURL2 with LoadVariables and LoadTarget: loadVariables(url, clip), read as form data.
inline constexpr std::uint8_t kGetUrlLoadVariables = 0xC0;

struct Undefined {};
struct Null {};
struct Register {
    std::uint8_t number;
};
// A value for Push. Strings go through the block's constant pool.
using PushValue = std::variant<std::string, std::int32_t, bool, Undefined, Null, Register>;

// Assembles one action block (a DoAction tag or a button's actions): named actions, labels for
// If and Jump, function bodies, and a ConstantPool of every pushed string placed in front.
// Consecutive Pushes become one, as they push the same values in the same order.
class ActionAssembler {
  public:
    struct Label {
        std::size_t id;
    };

    // Actions that carry no operands.
    void Emit(ActionCode code);
    void Push(std::initializer_list<PushValue> values);
    void GetUrl2(std::uint8_t flags);
    // Copies the top of the stack into a register, leaving it on the stack.
    void StoreRegister(std::uint8_t number);

    Label NewLabel();
    void Bind(Label label);
    void Jump(Label label);
    // Pops a value and jumps when it is true.
    void If(Label label);

    // DefineFunction: the actions emitted until EndFunction() are the function's body.
    void BeginFunction(std::string_view name, const std::vector<std::string_view>& parameters);
    void EndFunction();

    // Shorthands for the commonest pairs.
    void GetVariable(std::string_view name);
    // Pops argumentCount arguments (pushed last first) and calls the named function.
    void CallFunction(std::string_view name, std::int32_t argumentCount);

    // The ConstantPool, the block's actions and the End action.
    std::string Finish() const;

  private:
    void Record(ActionCode code, std::string_view operands);
    std::uint16_t PoolIndex(const std::string& text);
    void EmitBranch(ActionCode code, Label label);

    ByteWriter body_;
    std::vector<std::string> pool_;
    std::map<std::string, std::uint16_t, std::less<>> poolIndex_;
    std::vector<std::ptrdiff_t> labelOffsets_;  // -1 until bound
    struct Branch {
        std::size_t operandOffset;  // where the SI16 offset goes
        std::size_t nextAction;     // the offset counts from here
        std::size_t label;
    };
    std::vector<Branch> branches_;
    std::vector<std::size_t> openFunctions_;  // offsets of their code size fields
    // The last action when it is a Push that a following Push may join: nothing can jump between
    // them. Cleared by a label, and by the start or end of a function body.
    std::optional<std::size_t> joinablePush_;
};

}  // namespace bannermovie
