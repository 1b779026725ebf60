#include "script_builder.h"

#include <stdexcept>
#include <utility>

namespace bannermovie {
namespace {

// Pushes the arguments last first, then their count: the player takes them off in order.
void EmitArguments(ActionAssembler& a, const std::vector<Expr>& arguments) {
    for (std::size_t i = arguments.size(); i > 0; --i) arguments[i - 1].Emit(a);
    a.Push({static_cast<std::int32_t>(arguments.size())});
}

Expr Operation(ActionCode code, const Expr& left, const Expr& right) {
    return Expr::Pushing([code, left, right](ActionAssembler& a) {
        left.Emit(a);
        right.Emit(a);
        a.Emit(code);
    });
}

Expr Unary(ActionCode code, const Expr& value) {
    return Expr::Pushing([code, value](ActionAssembler& a) {
        value.Emit(a);
        a.Emit(code);
    });
}

// left, then: if it decides the answer keep it, else drop it and take right.
Expr ShortCircuit(const Expr& left, const Expr& right, bool stopWhenTrue) {
    return Expr::Pushing([left, right, stopWhenTrue](ActionAssembler& a) {
        const auto done = a.NewLabel();
        left.Emit(a);
        a.Emit(ActionCode::PushDuplicate);
        if (!stopWhenTrue) a.Emit(ActionCode::Not);
        a.If(done);
        a.Emit(ActionCode::Pop);
        right.Emit(a);
        a.Bind(done);
    });
}

}  // namespace

Expr::Expr(Emitter value, Emitter place, ActionCode store)
    : value_(std::move(value)), place_(std::move(place)), store_(store) {}

Expr Expr::Literal(PushValue value) {
    return Pushing([value = std::move(value)](ActionAssembler& a) { a.Push({value}); });
}

Expr::Expr(std::int32_t number) : Expr(Literal(number)) {}
Expr::Expr(const char* text) : Expr(Literal(std::string(text))) {}
Expr::Expr(std::string text) : Expr(Literal(std::move(text))) {}

Expr Expr::Pushing(Emitter emit) {
    return {std::move(emit), {}, ActionCode::End};
}

Expr Expr::Variable(std::string name) {
    Expr variable{[name](ActionAssembler& a) { a.GetVariable(name); },
                  [name](ActionAssembler& a) { a.Push({name}); }, ActionCode::SetVariable};
    variable.name_ = std::move(name);
    return variable;
}

Expr Expr::operator[](const Expr& key) const {
    const Expr object = *this;
    const auto place = [object, key](ActionAssembler& a) {
        object.Emit(a);
        key.Emit(a);
    };
    return {[place](ActionAssembler& a) {
                place(a);
                a.Emit(ActionCode::GetMember);
            },
            place, ActionCode::SetMember};
}

Expr Expr::CallMethod(std::string method, std::vector<Expr> arguments) const {
    return Pushing([object = *this, method = std::move(method),
                    arguments = std::move(arguments)](ActionAssembler& a) {
        EmitArguments(a, arguments);
        object.Emit(a);
        a.Push({method});
        a.Emit(ActionCode::CallMethod);
    });
}

Expr Expr::NewMethod(std::string constructor, std::vector<Expr> arguments) const {
    return Pushing([object = *this, constructor = std::move(constructor),
                    arguments = std::move(arguments)](ActionAssembler& a) {
        EmitArguments(a, arguments);
        object.Emit(a);
        a.Push({constructor});
        a.Emit(ActionCode::NewMethod);
    });
}

Expr Expr::CallNamed(std::vector<Expr> arguments) const {
    if (name_.empty()) throw std::logic_error("a call of a value that names no function");
    return Pushing([function = name_, arguments = std::move(arguments)](ActionAssembler& a) {
        EmitArguments(a, arguments);
        a.Push({function});
        a.Emit(ActionCode::CallFunction);
    });
}

Expr NewObject(std::string constructor, std::vector<Expr> arguments) {
    return Expr::Pushing([constructor = std::move(constructor),
                          arguments = std::move(arguments)](ActionAssembler& a) {
        EmitArguments(a, arguments);
        a.Push({constructor});
        a.Emit(ActionCode::NewObject);
    });
}

Expr ArrayOf(std::vector<Expr> elements) {
    return Expr::Pushing([elements = std::move(elements)](ActionAssembler& a) {
        EmitArguments(a, elements);  // laid out as arguments are: last first, then the count
        a.Emit(ActionCode::InitArray);
    });
}

Expr TypeOf(const Expr& value) {
    return Unary(ActionCode::TypeOf, value);
}

Expr Number(const Expr& value) {
    return Unary(ActionCode::ToNumber, value);
}

Expr operator+(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Add2, left, right);
}

Expr operator-(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Subtract, left, right);
}

Expr operator*(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Multiply, left, right);
}

Expr operator/(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Divide, left, right);
}

Expr operator%(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Modulo, left, right);
}

Expr operator<(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Less2, left, right);
}

Expr operator>(const Expr& left, const Expr& right) {
    return right < left;
}

Expr operator<=(const Expr& left, const Expr& right) {
    return !(right < left);
}

Expr operator>=(const Expr& left, const Expr& right) {
    return !(left < right);
}

Expr operator==(const Expr& left, const Expr& right) {
    return Operation(ActionCode::Equals2, left, right);
}

Expr operator!=(const Expr& left, const Expr& right) {
    return !(left == right);
}

Expr operator!(const Expr& value) {
    return Unary(ActionCode::Not, value);
}

Expr operator&&(const Expr& left, const Expr& right) {
    return ShortCircuit(left, right, false);
}

Expr operator||(const Expr& left, const Expr& right) {
    return ShortCircuit(left, right, true);
}

Expr operator&(const Expr& left, const Expr& right) {
    return Operation(ActionCode::BitAnd, left, right);
}

Expr operator>>(const Expr& left, const Expr& right) {
    return Operation(ActionCode::BitRShift, left, right);
}

void ScriptBuilder::Set(const Expr& place, const Expr& value) const {
    if (!place.assignable()) throw std::logic_error("assignment to a value that has no place");
    place.EmitPlace(a_);
    value.Emit(a_);
    a_.Emit(place.store());
}

Expr ScriptBuilder::Local(const char* name, const Expr& value) const {
    a_.Push({std::string(name)});
    value.Emit(a_);
    a_.Emit(ActionCode::DefineLocal);
    return Var(name);
}

void ScriptBuilder::Local(const Expr& variable, const Expr& value) const {
    Local(variable.name().c_str(), value);
}

void ScriptBuilder::Do(const Expr& call) const {
    call.Emit(a_);
    a_.Emit(ActionCode::Pop);
}

void ScriptBuilder::Trace(const Expr& value) const {
    value.Emit(a_);
    a_.Emit(ActionCode::Trace);
}

void ScriptBuilder::GetUrl(const Expr& url, const Expr& target, std::uint8_t flags) const {
    url.Emit(a_);
    target.Emit(a_);
    a_.GetUrl2(flags);
}

void ScriptBuilder::Return(const Expr& value) const {
    value.Emit(a_);
    a_.Emit(ActionCode::Return);
}

void ScriptBuilder::Return() const {
    a_.Push({Undefined{}});
    a_.Emit(ActionCode::Return);
}

void ScriptBuilder::Stop() const {
    a_.Emit(ActionCode::Stop);
}

void ScriptBuilder::If(const Expr& condition, const Block& then, const Block& otherwise) const {
    const auto skipThen = a_.NewLabel();
    condition.Emit(a_);
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

void ScriptBuilder::While(const Expr& condition, const Block& body) const {
    const auto top = a_.NewLabel();
    const auto end = a_.NewLabel();
    a_.Bind(top);
    condition.Emit(a_);
    a_.Emit(ActionCode::Not);
    a_.If(end);
    body();
    a_.Jump(top);
    a_.Bind(end);
}

void ScriptBuilder::ForIn(const Expr& object, const Expr& name, const Block& body) const {
    // Enumerate2 leaves a null under the names; each turn takes one name off the stack.
    const auto top = a_.NewLabel();
    const auto end = a_.NewLabel();
    object.Emit(a_);
    a_.Emit(ActionCode::Enumerate2);
    a_.Bind(top);
    a_.Emit(ActionCode::PushDuplicate);
    a_.Push({Null{}});
    a_.Emit(ActionCode::Equals2);
    a_.If(end);
    a_.StoreRegister(0);
    a_.Emit(ActionCode::Pop);
    a_.Push({name.name(), Register{0}});
    a_.Emit(ActionCode::DefineLocal);
    body();
    a_.Jump(top);
    a_.Bind(end);
    a_.Emit(ActionCode::Pop);  // the null
}

void ScriptBuilder::Function(const Expr& function, std::initializer_list<Expr> parameters,
                             const Block& body) const {
    std::vector<std::string_view> names;
    for (const Expr& parameter : parameters) names.push_back(parameter.name());
    a_.BeginFunction(function.name(), names);
    body();
    a_.EndFunction();
}

}  // namespace bannermovie
