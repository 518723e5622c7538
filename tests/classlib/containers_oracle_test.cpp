// Runs the scenarios of tests/oracle/ContainersOracle.java on our Random, Hashtable and Vector and
// compares the text with the JVM's transcript in tests/fixtures/containers_oracle.txt.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/java_util/java_util_random.h"
#include "classlib/java_util/java_util_vector.h"
#include "pool_helpers.h"
#include "runtime/exceptions.h"

namespace {

constexpr int kDraws = 6;

java_lang_Integer* integer(jint v) {
    auto* i = new java_lang_Integer();
    i->init(v);
    return i;
}

std::string textOf(Object* o) { return o ? narrow(o->toString()) : "null"; }

class ContainersOracleTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        installContainerLiterals();
    }
    void TearDown() override {
        Runtime::setConstantPool(nullptr);
        RuntimeTest::TearDown();
    }
    std::ostringstream out;
};

void random(std::ostringstream& out, jlong seed) {
    auto* r = new java_util_Random();
    r->init(seed);
    out << "random seed=" << seed << "\n  nextInt:";
    for (int i = 0; i < kDraws; ++i) out << ' ' << r->nextInt();
    out << '\n';
    for (jint n : {1, 7, 16, 100, (1 << 30) + 1}) {
        out << "  nextInt(" << n << "):";
        for (int i = 0; i < kDraws; ++i) out << ' ' << r->nextInt(n);
        out << '\n';
    }
    out << "  nextLong:";
    for (int i = 0; i < kDraws; ++i) out << ' ' << r->nextLong();
    out << '\n';
}

void print(std::ostringstream& out, const char* label, java_util_Hashtable* h) {
    out << label << ": size=" << h->size() << "\n  keys:";
    for (auto* e = h->keys(); e->hasMoreElements();) out << ' ' << textOf(e->nextElement());
    out << "\n  elements:";
    // Through the Enumeration interface, as compiled code reaches it. An interface pointer is not a
    // reference: the object's own pointer stays in a stack slot while the interface is in use.
    Object* volatile enumerator = h->elements();
    auto* values = static_cast<java_util_Enumeration*>(enumerator->getInterface(CID_java_util_Enumeration));
    while (values->hasMoreElements()) out << ' ' << textOf(values->nextElement());
    out << "\n  toString: " << narrow(h->toString()) << '\n';
}

void integerTable(std::ostringstream& out) {
    auto* h = new java_util_Hashtable();
    h->init();
    for (jint i = 0; i < 8; ++i) h->put(integer(i * 7), integer(i));
    print(out, "integers: 8 keys, 11 buckets", h);
    h->put(integer(56), integer(8));
    h->put(integer(static_cast<jint>(0x80000005u)), integer(9));
    h->put(integer(-3), integer(10));
    print(out, "integers: 11 keys, 23 buckets", h);
    for (jint i = 0; i < 30; ++i) h->put(integer(i * 13 - 40), integer(100 + i));
    print(out, "integers: after 30 more puts", h);
    out << "replaced 21: old=" << textOf(h->put(integer(21), integer(999))) << '\n';
    out << "removed:";
    for (jint key : {0, -40, 12345, 63}) out << ' ' << textOf(h->remove(integer(key)));
    out << '\n';
    print(out, "integers: after the removes", h);
    auto* one = new java_util_Hashtable();
    one->init(0);
    for (jint i = 0; i < 7; ++i) one->put(integer(i * 5), integer(-i));
    print(out, "integers: from 1 bucket", one);
}

void stringTable(std::ostringstream& out) {
    auto* h = new java_util_Hashtable();
    h->init();
    for (int i = 0; i < 40; ++i)
        h->put(str(("k" + std::to_string(i)).c_str()), str(("v" + std::to_string(i)).c_str()));
    print(out, "strings: 40 keys", h);
    h->put(str("k7"), str("seven"));
    for (const char* key : {"k0", "k39", "k20"}) h->remove(str(key));
    print(out, "strings: after replace and removes", h);
}

void capacities(std::ostringstream& out, const char* label, java_util_Vector* v, int adds) {
    out << label << ':';
    for (int i = 0; i < adds; ++i) {
        v->addElement(integer(i));
        out << ' ' << v->capacity();
    }
    out << '\n';
}

java_util_Vector* vector(jint capacity, jint increment) {
    auto* v = new java_util_Vector();
    v->init(capacity, increment);
    return v;
}

void vectors(std::ostringstream& out) {
    auto* plain = new java_util_Vector();
    plain->init();
    capacities(out, "vector(): capacity after each add", plain, 25);
    capacities(out, "vector(4, 3): capacity after each add", vector(4, 3), 12);
    capacities(out, "vector(0): capacity after each add", vector(0, 0), 6);
    java_util_Vector* v = vector(10, 0);
    v->ensureCapacity(15);
    out << "vector(10): ensureCapacity(15) " << v->capacity();
    v->ensureCapacity(50);
    out << ", ensureCapacity(50) " << v->capacity();
    v->setSize(7);
    v->trimToSize();
    out << ", setSize(7) trimToSize " << v->capacity();
    v->insertElementAt(str("x"), 7);
    out << ", insert at the end " << v->capacity() << " size " << v->size();
    v->setSize(30);
    out << ", setSize(30) " << v->capacity() << '\n';
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(ContainersOracleTest, RandomHashtableAndVectorPrintTheJvmTranscript) {
    for (jlong seed : {jlong{0}, jlong{42}, jlong{-1}, jlong{1} << 47}) random(out, seed);
    integerTable(out);
    stringTable(out);
    vectors(out);
    EXPECT_EQ(Runtime::getPendingException(), nullptr);

    std::ifstream file(BRINDLEX_FIXTURES "/containers_oracle.txt");
    ASSERT_TRUE(file) << "missing fixture containers_oracle.txt";
    std::stringstream expected;
    expected << file.rdbuf();
    const std::vector<std::string> want = linesOf(expected.str());
    const std::vector<std::string> got = linesOf(out.str());
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
}

}  // namespace
