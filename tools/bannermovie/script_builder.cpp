#include "script_builder.h"

#include <iterator>
#include <vector>

namespace bannermovie {

using enum ActionCode;

ScriptBuilder::Expr ScriptBuilder::Var(std::string name) const {
    return [this, name] { a_.GetVariable(name); };
}

ScriptBuilder::Expr ScriptBuilder::Text(std::string text) const {
    return [this, text] { a_.Push({text}); };
}

ScriptBuilder::Expr ScriptBuilder::Int(std::int32_t number) const {
    return [this, number] { a_.Push({number}); };
}

ScriptBuilder::Expr ScriptBuilder::Bool(bool value) const {
    return [this, value] { a_.Push({value}); };
}

ScriptBuilder::Expr ScriptBuilder::Member(Expr object, std::string name) const {
    return Index(std::move(object), Text(std::move(name)));
}

ScriptBuilder::Expr ScriptBuilder::Index(Expr object, Expr name) const {
    return [this, object, name] {
        object();
        name();
        a_.Emit(GetMember);
    };
}

ScriptBuilder::Expr ScriptBuilder::Call(std::string function,
                                        std::initializer_list<Expr> arguments) const {
    // Kept last first: the player takes the arguments off the stack in order.
    const std::vector<Expr> kept(std::rbegin(arguments), std::rend(arguments));
    return [this, function, kept] {
        for (const Expr& argument : kept) argument();
        a_.Push({static_cast<std::int32_t>(kept.size()), function});
        a_.Emit(CallFunction);
    };
}

ScriptBuilder::Expr ScriptBuilder::Method(Expr object, std::string method,
                                          std::initializer_list<Expr> arguments) const {
    // Kept last first: the player takes the arguments off the stack in order.
    const std::vector<Expr> kept(std::rbegin(arguments), std::rend(arguments));
    return [this, object, method, kept] {
        for (const Expr& argument : kept) argument();
        a_.Push({static_cast<std::int32_t>(kept.size())});
        object();
        a_.Push({method});
        a_.Emit(CallMethod);
    };
}

ScriptBuilder::Expr ScriptBuilder::New(std::string constructor) const {
    return [this, constructor] {
        a_.Push({0, constructor});
        a_.Emit(NewObject);
    };
}

namespace {
ScriptBuilder::Expr BinaryAction(ActionAssembler& a, ActionCode code, ScriptBuilder::Expr left,
                                 ScriptBuilder::Expr right) {
    return [&a, code, left, right] {
        left();
        right();
        a.Emit(code);
    };
}
}  // namespace

ScriptBuilder::Expr ScriptBuilder::Binary(ActionCode code, Expr left, Expr right) const {
    return BinaryAction(a_, code, std::move(left), std::move(right));
}

ScriptBuilder::Expr ScriptBuilder::Add(Expr left, Expr right) const {
    return BinaryAction(a_, Add2, std::move(left), std::move(right));
}

ScriptBuilder::Expr ScriptBuilder::Less(Expr left, Expr right) const {
    return BinaryAction(a_, Less2, std::move(left), std::move(right));
}

ScriptBuilder::Expr ScriptBuilder::Equals(Expr left, Expr right) const {
    return BinaryAction(a_, Equals2, std::move(left), std::move(right));
}

ScriptBuilder::Expr ScriptBuilder::Not(Expr value) const {
    return [this, value] {
        value();
        a_.Emit(ActionCode::Not);
    };
}

ScriptBuilder::Expr ScriptBuilder::TypeOf(Expr value) const {
    return [this, value] {
        value();
        a_.Emit(ActionCode::TypeOf);
    };
}

ScriptBuilder::Expr ScriptBuilder::ToNumber(Expr value) const {
    return [this, value] {
        value();
        a_.Emit(ActionCode::ToNumber);
    };
}

// left, then: if it decides the answer keep it, else drop it and take right.
ScriptBuilder::Expr ScriptBuilder::ShortCircuit(Expr left, Expr right, bool stopWhenTrue) const {
    return [this, left, right, stopWhenTrue] {
        const auto done = a_.NewLabel();
        left();
        a_.Emit(PushDuplicate);
        if (!stopWhenTrue) a_.Emit(ActionCode::Not);
        a_.If(done);
        a_.Emit(Pop);
        right();
        a_.Bind(done);
    };
}

ScriptBuilder::Expr ScriptBuilder::And(Expr left, Expr right) const {
    return ShortCircuit(std::move(left), std::move(right), false);
}

ScriptBuilder::Expr ScriptBuilder::Or(Expr left, Expr right) const {
    return ShortCircuit(std::move(left), std::move(right), true);
}

void ScriptBuilder::Set(std::string name, Expr value) const {
    a_.Push({name});
    value();
    a_.Emit(SetVariable);
}

void ScriptBuilder::Local(std::string name, Expr value) const {
    a_.Push({name});
    value();
    a_.Emit(DefineLocal);
}

void ScriptBuilder::SetMember(Expr object, std::string name, Expr value) const {
    object();
    a_.Push({name});
    value();
    a_.Emit(ActionCode::SetMember);
}

void ScriptBuilder::Do(Expr call) const {
    call();
    a_.Emit(Pop);
}

void ScriptBuilder::Increment(std::string name) const {
    a_.Push({name});
    a_.GetVariable(name);
    a_.Emit(ActionCode::Increment);
    a_.Emit(SetVariable);
}

void ScriptBuilder::Trace(Expr value) const {
    value();
    a_.Emit(ActionCode::Trace);
}

void ScriptBuilder::GetUrl(Expr url, Expr target, std::uint8_t flags) const {
    url();
    target();
    a_.GetUrl2(flags);
}

void ScriptBuilder::Return(Expr value) const {
    value();
    a_.Emit(ActionCode::Return);
}

void ScriptBuilder::If(Expr condition, Block then, Block otherwise) const {
    const auto skipThen = a_.NewLabel();
    condition();
    a_.Emit(ActionCode::Not);
    a_.If(skipThen);
    then();
    if (otherwise) {
        const auto end = a_.NewLabel();
        a_.Jump(end);
        a_.Bind(skipThen);
        otherwise();
        a_.Bind(end);
    } else {
        a_.Bind(skipThen);
    }
}

void ScriptBuilder::While(Expr condition, Block body) const {
    const auto top = a_.NewLabel();
    const auto end = a_.NewLabel();
    a_.Bind(top);
    condition();
    a_.Emit(ActionCode::Not);
    a_.If(end);
    body();
    a_.Jump(top);
    a_.Bind(end);
}

void ScriptBuilder::ForIn(Expr object, std::string name, Block body) const {
    // Enumerate2 leaves a null under the names; each turn takes one name off the stack.
    const auto top = a_.NewLabel();
    const auto end = a_.NewLabel();
    object();
    a_.Emit(Enumerate2);
    a_.Bind(top);
    a_.Emit(PushDuplicate);
    a_.Push({Null{}});
    a_.Emit(Equals2);
    a_.If(end);
    a_.StoreRegister(0);
    a_.Emit(Pop);
    a_.Push({name, Register{0}});
    a_.Emit(DefineLocal);
    body();
    a_.Jump(top);
    a_.Bind(end);
    a_.Emit(Pop);  // the null
}

void ScriptBuilder::Function(std::string name, std::initializer_list<std::string_view> parameters,
                             Block body) const {
    a_.BeginFunction(name, parameters);
    body();
    a_.EndFunction();
}

}  // namespace bannermovie
