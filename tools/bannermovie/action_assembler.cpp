#include "action_assembler.h"

#include <limits>
#include <stdexcept>

namespace bannermovie {
namespace {

// Push's value types. (Type 0, an inline string, is never written: every string goes through
// the constant pool.)
constexpr std::uint8_t kPushNull = 2;
constexpr std::uint8_t kPushUndefined = 3;
constexpr std::uint8_t kPushRegister = 4;
constexpr std::uint8_t kPushBoolean = 5;
constexpr std::uint8_t kPushInteger = 7;
constexpr std::uint8_t kPushConstant8 = 8;
constexpr std::uint8_t kPushConstant16 = 9;

constexpr std::uint8_t kFirstActionWithOperands = 0x80;

std::uint16_t CheckedU16(std::size_t value, const char* what) {
    if (value > std::numeric_limits<std::uint16_t>::max()) throw std::length_error(what);
    return static_cast<std::uint16_t>(value);
}

}  // namespace

void ActionAssembler::Record(ActionCode code, std::string_view operands) {
    joinablePush_.reset();
    body_.U8(static_cast<std::uint8_t>(code));
    if (static_cast<std::uint8_t>(code) >= kFirstActionWithOperands) {
        body_.U16(CheckedU16(operands.size(), "action operands too long"));
        body_.Bytes(operands);
    } else if (!operands.empty()) {
        throw std::logic_error("this action takes no operands");
    }
}

void ActionAssembler::Emit(ActionCode code) {
    if (static_cast<std::uint8_t>(code) >= kFirstActionWithOperands) {
        throw std::logic_error("this action needs its operands");
    }
    Record(code, {});
}

std::uint16_t ActionAssembler::PoolIndex(const std::string& text) {
    if (auto found = poolIndex_.find(text); found != poolIndex_.end()) return found->second;
    const auto index = CheckedU16(pool_.size(), "constant pool full");
    pool_.push_back(text);
    poolIndex_.emplace(text, index);
    return index;
}

void ActionAssembler::Push(std::initializer_list<PushValue> values) {
    ByteWriter operands;
    for (const PushValue& value : values) {
        if (const auto* text = std::get_if<std::string>(&value)) {
            const std::uint16_t index = PoolIndex(*text);
            if (index <= std::numeric_limits<std::uint8_t>::max()) {
                operands.U8(kPushConstant8);
                operands.U8(static_cast<std::uint8_t>(index));
            } else {
                operands.U8(kPushConstant16);
                operands.U16(index);
            }
        } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
            operands.U8(kPushInteger);
            operands.I32(*number);
        } else if (const auto* flag = std::get_if<bool>(&value)) {
            operands.U8(kPushBoolean);
            operands.U8(*flag ? 1 : 0);
        } else if (const auto* reg = std::get_if<Register>(&value)) {
            operands.U8(kPushRegister);
            operands.U8(reg->number);
        } else if (std::holds_alternative<Null>(value)) {
            operands.U8(kPushNull);
        } else {
            operands.U8(kPushUndefined);
        }
    }
    if (joinablePush_) {
        const std::size_t lengthField = *joinablePush_ + 1;
        const std::size_t length = body_.size() - (lengthField + 2) + operands.size();
        body_.PatchU16(lengthField, CheckedU16(length, "action operands too long"));
        body_.Bytes(operands.bytes());
        return;
    }
    const std::size_t start = body_.size();
    Record(ActionCode::Push, operands.bytes());
    joinablePush_ = start;
}

void ActionAssembler::GetUrl2(std::uint8_t flags) {
    Record(ActionCode::GetUrl2, std::string(1, static_cast<char>(flags)));
}

void ActionAssembler::StoreRegister(std::uint8_t number) {
    Record(ActionCode::StoreRegister, std::string(1, static_cast<char>(number)));
}

ActionAssembler::Label ActionAssembler::NewLabel() {
    labelOffsets_.push_back(-1);
    return Label{labelOffsets_.size() - 1};
}

void ActionAssembler::Bind(Label label) {
    if (labelOffsets_.at(label.id) >= 0) throw std::logic_error("label bound twice");
    labelOffsets_[label.id] = static_cast<std::ptrdiff_t>(body_.size());
    joinablePush_.reset();
}

void ActionAssembler::EmitBranch(ActionCode code, Label label) {
    Record(code, std::string(2, '\0'));
    branches_.push_back({body_.size() - 2, body_.size(), label.id});
}

void ActionAssembler::Jump(Label label) {
    EmitBranch(ActionCode::Jump, label);
}

void ActionAssembler::If(Label label) {
    EmitBranch(ActionCode::If, label);
}

void ActionAssembler::BeginFunction(std::string_view name,
                                    const std::vector<std::string_view>& parameters) {
    ByteWriter operands;
    operands.String(name);
    operands.U16(CheckedU16(parameters.size(), "too many parameters"));
    for (std::string_view parameter : parameters) operands.String(parameter);
    operands.U16(0);  // the body's size, set by EndFunction
    Record(ActionCode::DefineFunction, operands.bytes());
    openFunctions_.push_back(body_.size() - 2);
}

void ActionAssembler::EndFunction() {
    if (openFunctions_.empty()) throw std::logic_error("no function to end");
    const std::size_t sizeField = openFunctions_.back();
    openFunctions_.pop_back();
    joinablePush_.reset();
    body_.PatchU16(sizeField, CheckedU16(body_.size() - (sizeField + 2), "function too long"));
}

void ActionAssembler::GetVariable(std::string_view name) {
    Push({std::string(name)});
    Emit(ActionCode::GetVariable);
}

void ActionAssembler::CallFunction(std::string_view name, std::int32_t argumentCount) {
    Push({argumentCount, std::string(name)});
    Emit(ActionCode::CallFunction);
}

std::string ActionAssembler::Finish() const {
    if (!openFunctions_.empty()) throw std::logic_error("a function was not ended");
    ByteWriter body = body_;
    for (const Branch& branch : branches_) {
        const std::ptrdiff_t target = labelOffsets_.at(branch.label);
        if (target < 0) throw std::logic_error("branch to a label never bound");
        const std::ptrdiff_t offset = target - static_cast<std::ptrdiff_t>(branch.nextAction);
        if (offset < std::numeric_limits<std::int16_t>::min() ||
            offset > std::numeric_limits<std::int16_t>::max()) {
            throw std::length_error("branch too far");
        }
        body.PatchU16(branch.operandOffset, static_cast<std::uint16_t>(offset));
    }

    ByteWriter block;
    if (!pool_.empty()) {
        ByteWriter pool;
        pool.U16(static_cast<std::uint16_t>(pool_.size()));
        for (const std::string& text : pool_) pool.String(text);
        block.U8(static_cast<std::uint8_t>(ActionCode::ConstantPool));
        block.U16(CheckedU16(pool.size(), "constant pool too long"));
        block.Bytes(pool.bytes());
    }
    block.Bytes(body.bytes());
    block.U8(static_cast<std::uint8_t>(ActionCode::End));
    return block.bytes();
}

}  // namespace bannermovie
