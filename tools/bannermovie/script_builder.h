#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "action_assembler.h"

namespace bannermovie {

// Writes AVM1 in the shape of the ActionScript it stands for: an Expr pushes one value, a
// statement consumes what it pushes. Arguments are pushed last first, as the player expects.
class ScriptBuilder {
  public:
    using Expr = std::function<void()>;
    using Block = std::function<void()>;

    explicit ScriptBuilder(ActionAssembler& assembler) : a_(assembler) {}

    // Values.
    Expr Var(std::string name) const;
    Expr Text(std::string text) const;
    Expr Int(std::int32_t number) const;
    Expr Bool(bool value) const;
    Expr Member(Expr object, std::string name) const;  // object.name
    Expr Index(Expr object, Expr name) const;          // object[name]
    Expr Call(std::string function, std::initializer_list<Expr> arguments) const;
    Expr Method(Expr object, std::string method, std::initializer_list<Expr> arguments) const;
    Expr New(std::string constructor) const;                    // new Constructor()
    Expr Binary(ActionCode code, Expr left, Expr right) const;  // left op right
    Expr Add(Expr left, Expr right) const;
    Expr Less(Expr left, Expr right) const;
    Expr Equals(Expr left, Expr right) const;
    Expr Not(Expr value) const;
    Expr TypeOf(Expr value) const;
    Expr ToNumber(Expr value) const;
    Expr And(Expr left, Expr right) const;  // short-circuit, as &&
    Expr Or(Expr left, Expr right) const;   // short-circuit, as ||

    // Statements.
    void Set(std::string name, Expr value) const;    // name = value  (the timeline's variable)
    void Local(std::string name, Expr value) const;  // var name = value
    void SetMember(Expr object, std::string name, Expr value) const;
    void Do(Expr call) const;                // a call whose result is dropped
    void Increment(std::string name) const;  // name = name + 1
    void Trace(Expr value) const;
    // GetURL2: opens url in a window, or loads it into a clip, as `flags` say.
    void GetUrl(Expr url, Expr target, std::uint8_t flags) const;
    void Return(Expr value) const;
    void If(Expr condition, Block then, Block otherwise = {}) const;
    void While(Expr condition, Block body) const;
    // for (name in object) body; the names come newest first, as the player lists them.
    void ForIn(Expr object, std::string name, Block body) const;
    void Function(std::string name, std::initializer_list<std::string_view> parameters,
                  Block body) const;

    ActionAssembler& assembler() const { return a_; }

  private:
    Expr ShortCircuit(Expr left, Expr right, bool stopWhenTrue) const;
    ActionAssembler& a_;
};

}  // namespace bannermovie
