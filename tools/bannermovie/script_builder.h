#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "action_assembler.h"

namespace bannermovie {

// A value of the script, written as in ActionScript: literals convert on their own, C++
// operators build the operations (a + b, a % b, a < b, a >= b, a == b, !a, a && b, a & b,
// a >> b), object["name"] reads a member, as object.name does, and a function's variable called,
// f(x), calls it. Nothing is emitted until a statement uses the value; && and || then
// short-circuit as ActionScript's do.
class Expr {
  public:
    using Emitter = std::function<void(ActionAssembler&)>;

    Expr(std::int32_t number);  // NOLINT(google-explicit-constructor): literals read as literals
    Expr(const char* text);     // NOLINT(google-explicit-constructor)
    Expr(std::string text);     // NOLINT(google-explicit-constructor)
    template <std::same_as<bool> Bool>
    Expr(Bool value) : Expr(Literal(value)) {}  // NOLINT(google-explicit-constructor)

    // A timeline variable, a local or a parameter of the function being written, or a function.
    static Expr Variable(std::string name);
    // Actions that leave one value on the stack.
    static Expr Pushing(Emitter emit);

    // object[key]; object["name"] is object.name.
    Expr operator[](const Expr& key) const;
    // object.method(arguments...)
    template <typename... Arguments>
    Expr Call(std::string method, const Arguments&... arguments) const {
        return CallMethod(std::move(method), {Expr(arguments)...});
    }
    // new object.constructor(arguments...), as new flash.geom.Matrix() reads.
    template <typename... Arguments>
    Expr New(std::string constructor, const Arguments&... arguments) const {
        return NewMethod(std::move(constructor), {Expr(arguments)...});
    }

    // name(arguments...), for a variable that names a function of the timeline or the player.
    template <typename... Arguments>
    Expr operator()(const Arguments&... arguments) const {
        return CallNamed({Expr(arguments)...});
    }
    // The variable's name; empty for any other value.
    const std::string& name() const { return name_; }

    // Pushes the value.
    void Emit(ActionAssembler& a) const { value_(a); }
    // A variable or a member can be assigned: its place is pushed, then the value, then `store`.
    bool assignable() const { return static_cast<bool>(place_); }
    void EmitPlace(ActionAssembler& a) const { place_(a); }
    ActionCode store() const { return store_; }

  private:
    static Expr Literal(PushValue value);
    Expr(Emitter value, Emitter place, ActionCode store);
    Expr CallMethod(std::string method, std::vector<Expr> arguments) const;
    Expr NewMethod(std::string constructor, std::vector<Expr> arguments) const;
    Expr CallNamed(std::vector<Expr> arguments) const;

    std::string name_;
    Emitter value_;
    Emitter place_;
    ActionCode store_ = ActionCode::End;
};

inline Expr Var(std::string name) {
    return Expr::Variable(std::move(name));
}

// new Constructor(arguments...)
Expr NewObject(std::string constructor, std::vector<Expr> arguments);
template <typename... Arguments>
Expr New(std::string constructor, const Arguments&... arguments) {
    return NewObject(std::move(constructor), {Expr(arguments)...});
}

// [elements...]
Expr ArrayOf(std::vector<Expr> elements);

Expr TypeOf(const Expr& value);  // typeof value
Expr Number(const Expr& value);  // Number(value)

Expr operator+(const Expr& left, const Expr& right);
Expr operator-(const Expr& left, const Expr& right);
Expr operator*(const Expr& left, const Expr& right);
Expr operator/(const Expr& left, const Expr& right);
Expr operator%(const Expr& left, const Expr& right);
Expr operator<(const Expr& left, const Expr& right);
// The other comparisons are Less2 turned round or negated, as the player has no Greater before
// SWF 6 and no LessEquals at all. Turned round, the right operand is evaluated first: the same
// for every operand without side effects, which are the only ones the scripts compare.
Expr operator>(const Expr& left, const Expr& right);
Expr operator<=(const Expr& left, const Expr& right);
Expr operator>=(const Expr& left, const Expr& right);
Expr operator==(const Expr& left, const Expr& right);
Expr operator!=(const Expr& left, const Expr& right);
Expr operator!(const Expr& value);
Expr operator&&(const Expr& left, const Expr& right);
Expr operator||(const Expr& left, const Expr& right);
Expr operator&(const Expr& left, const Expr& right);
Expr operator>>(const Expr& left, const Expr& right);

// Writes statements: each call emits its actions at once, so the script reads in the order it
// runs. Blocks are the statements of a body, written as a lambda.
class ScriptBuilder {
  public:
    using Block = std::function<void()>;

    explicit ScriptBuilder(ActionAssembler& assembler) : a_(assembler) {}

    void Set(const Expr& place, const Expr& value) const;  // place = value
    // var name = value; returns the variable.
    Expr Local(const char* name, const Expr& value) const;
    // var variable = value, for a local named before its function begins.
    void Local(const Expr& variable, const Expr& value) const;
    void Do(const Expr& call) const;  // a call whose result is dropped
    void Trace(const Expr& value) const;
    // GetURL2: opens url in a window, or loads it into a clip, as `flags` say.
    void GetUrl(const Expr& url, const Expr& target, std::uint8_t flags) const;
    void Return(const Expr& value) const;
    void Return() const;  // return; (undefined)
    void Stop() const;
    void If(const Expr& condition, const Block& then, const Block& otherwise = {}) const;
    void While(const Expr& condition, const Block& body) const;
    // for (var name in object) body; the names come newest first, as the player lists them.
    void ForIn(const Expr& object, const Expr& name, const Block& body) const;
    // function name(parameters) { body }, for the function's variable and its parameters'.
    void Function(const Expr& function, std::initializer_list<Expr> parameters,
                  const Block& body) const;

  private:
    ActionAssembler& a_;
};

}  // namespace bannermovie
