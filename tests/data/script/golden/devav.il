<?xml version="1.0"?>
<program>
  <compoundstmt pos="1:1">
    <var pos="1:5">
      <ident text="a" pos="1:6"/>
      <array pos="1:6">
        <dim pos="1:7">
          <expr pos="1:7" pos1="1:8">
            <number text="3" pos="1:8"/>
          </expr>
        </dim>
      </array>
    </var>
    <var pos="1:11">
      <ident text="b" pos="1:12"/>
      <type text="Integer" pos="1:23"/>
      <init pos="1:24">
        <expr pos="1:26" pos1="1:27">
          <number text="5" pos="1:27"/>
        </expr>
      </init>
    </var>
    <var pos="1:29">
      <ident text="c" pos="1:30"/>
    </var>
    <procedure pos="2:1">
      <name text="P" pos="2:6"/>
      <parameters pos="2:6">
        <varparams pos="2:7"/>
        <var pos="2:13">
          <ident text="x" pos="2:14"/>
        </var>
        <var pos="2:22">
          <ident text="y" pos="2:23"/>
        </var>
      </parameters>
      <compoundstmt pos="3:3">
        <assignstmt pos="3:3">
          <dsgn pos="3:3">
            <node text="x" pos="3:4"/>
          </dsgn>
          <expr pos="3:7" pos1="3:12">
            <dsgn pos="3:7">
              <node text="x" pos="3:8"/>
            </dsgn>
            <op text="strcat" pos="3:10"/>
            <dsgn pos="3:11">
              <node text="y" pos="3:12"/>
            </dsgn>
          </expr>
        </assignstmt>
        <assignstmt pos="3:15">
          <dsgn pos="3:15">
            <node text="y" pos="3:16"/>
          </dsgn>
          <modificator text="+" pos="3:18"/>
          <expr pos="3:20" pos1="3:21">
            <number text="1" pos="3:21"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <exit pos="4:5"/>
    </procedure>
    <function pos="5:1">
      <name text="F" pos="5:11"/>
      <parameters pos="5:11">
        <var pos="5:12">
          <ident text="s" pos="5:13"/>
        </var>
      </parameters>
      <type text="String" pos="5:24"/>
      <compoundstmt pos="6:3">
        <ifstmt pos="6:3">
          <expr pos="6:6" pos1="6:12">
            <dsgn pos="6:6">
              <node text="s" pos="6:7"/>
            </dsgn>
            <op text="=" pos="6:9"/>
            <string text="''" pos="6:12"/>
          </expr>
          <thenstmt pos="6:18">
            <return pos="6:18">
              <expr pos="6:25" pos1="6:31">
                <string text="'a&#34;b'" pos="6:31"/>
              </expr>
            </return>
          </thenstmt>
        </ifstmt>
      </compoundstmt>
      <exit pos="7:5"/>
    </function>
    <ifstmt pos="8:1">
      <expr pos="8:4" pos1="8:9">
        <dsgn pos="8:4">
          <node text="a" pos="8:5"/>
        </dsgn>
        <op text="&#62;" pos="8:7"/>
        <number text="1" pos="8:9"/>
      </expr>
      <thenstmt pos="9:3">
        <compoundstmt pos="9:3">
          <assignstmt pos="9:3">
            <dsgn pos="9:3">
              <node text="b" pos="9:4"/>
            </dsgn>
            <expr pos="9:7" pos1="9:8">
              <number text="1" pos="9:8"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </thenstmt>
      <elsestmt pos="10:1">
        <ifstmt pos="10:1">
          <expr pos="10:8" pos1="10:13">
            <dsgn pos="10:8">
              <node text="a" pos="10:9"/>
            </dsgn>
            <op text="&#60;" pos="10:11"/>
            <number text="0" pos="10:13"/>
          </expr>
          <thenstmt pos="11:3">
            <compoundstmt pos="11:3">
              <assignstmt pos="11:3">
                <dsgn pos="11:3">
                  <node text="b" pos="11:4"/>
                </dsgn>
                <expr pos="11:7" pos1="11:8">
                  <number text="2" pos="11:8"/>
                </expr>
              </assignstmt>
            </compoundstmt>
          </thenstmt>
          <elsestmt pos="12:1">
            <compoundstmt pos="13:3">
              <assignstmt pos="13:3">
                <dsgn pos="13:3">
                  <node text="b" pos="13:4"/>
                </dsgn>
                <expr pos="13:7" pos1="13:8">
                  <number text="3" pos="13:8"/>
                </expr>
              </assignstmt>
            </compoundstmt>
          </elsestmt>
        </ifstmt>
      </elsestmt>
    </ifstmt>
    <casestmt pos="15:1">
      <expr pos="15:13" pos1="15:14">
        <dsgn pos="15:13">
          <node text="b" pos="15:14"/>
        </dsgn>
      </expr>
      <caseselector pos="16:3">
        <set pos="16:8">
          <expr pos="16:8" pos1="16:9">
            <number text="1" pos="16:9"/>
          </expr>
          <expr pos="16:11" pos1="16:12">
            <number text="2" pos="16:12"/>
          </expr>
        </set>
        <compoundstmt pos="16:15">
          <assignstmt pos="16:15">
            <dsgn pos="16:15">
              <node text="c" pos="16:16"/>
            </dsgn>
            <expr pos="16:19" pos1="16:20">
              <number text="1" pos="16:20"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </caseselector>
      <compoundstmt pos="17:15">
        <assignstmt pos="17:15">
          <dsgn pos="17:15">
            <node text="c" pos="17:16"/>
          </dsgn>
          <expr pos="17:19" pos1="17:20">
            <number text="0" pos="17:20"/>
          </expr>
        </assignstmt>
      </compoundstmt>
    </casestmt>
    <vbforstmt pos="19:1">
      <ident text="i" pos="19:6"/>
      <expr pos="19:9" pos1="19:10">
        <number text="1" pos="19:10"/>
      </expr>
      <expr pos="19:14" pos1="19:16">
        <number text="10" pos="19:16"/>
      </expr>
      <expr pos="19:22" pos1="19:23">
        <number text="2" pos="19:23"/>
      </expr>
      <compoundstmt pos="20:3">
        <callstmt pos="20:3">
          <dsgn pos="20:3">
            <node text="P" pos="20:4"/>
            <expr pos="20:5" pos1="20:6">
              <dsgn pos="20:5">
                <node text="c" pos="20:6"/>
              </dsgn>
            </expr>
            <expr pos="20:8" pos1="20:9">
              <dsgn pos="20:8">
                <node text="i" pos="20:9"/>
              </dsgn>
            </expr>
          </dsgn>
        </callstmt>
      </compoundstmt>
    </vbforstmt>
    <repeatstmt pos="22:1">
      <compoundstmt pos="22:3">
        <assignstmt pos="23:2">
          <dsgn pos="23:2">
            <node text="c" pos="23:3"/>
          </dsgn>
          <expr pos="23:6" pos1="24:7">
            <dsgn pos="23:6">
              <node text="c" pos="23:7"/>
            </dsgn>
            <op text="div" pos="23:9"/>
            <number text="2" pos="23:11"/>
            <op text="+" pos="24:5"/>
            <number text="1" pos="24:7"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="25:12" pos1="25:17">
        <dsgn pos="25:12">
          <node text="c" pos="25:13"/>
        </dsgn>
        <op text="&#62;" pos="25:15"/>
        <number text="0" pos="25:17"/>
      </expr>
      <inverse text="" pos="25:17"/>
    </repeatstmt>
    <assignstmt pos="27:1">
      <dsgn pos="27:1">
        <node text="remove" pos="27:7"/>
      </dsgn>
      <expr pos="27:10" pos1="27:11">
        <number text="1" pos="27:11"/>
      </expr>
    </assignstmt>
  </compoundstmt>
  <types>
    <decimal type="extended"/>
  </types>
</program>
