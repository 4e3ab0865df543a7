' The workbench window. Positions and sizes in twips, relative to the container.
Begin Form FrmMain
   Caption         =   "Talmo 正则表达式匹配工具"
   BackColor       =   &H80000005&
   BorderStyle     =   1
   MaxButton       =   False
   MinButton       =   True
   ClientWidth     =   16875
   ClientHeight    =   9540
   StartUpPosition =   2
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin CheckBox Check2
      Caption         =   "实时"
      Left            =   180
      Top             =   4440
      Width           =   675
      Height          =   255
      TabIndex        =   10
      BackColor       =   &H80000005&
   End
   Begin CommandButton Command4
      Caption         =   "进行匹配"
      Left            =   8040
      Top             =   4380
      Width           =   1095
      Height          =   375
      TabIndex        =   8
   End
   Begin CommandButton Command3
      Caption         =   "确认替换"
      Left            =   7920
      Top             =   9060
      Width           =   1095
      Height          =   375
      Visible         =   False
      TabIndex        =   7
   End
   Begin CheckBox Check1
      Caption         =   "替换："
      Left            =   180
      Top             =   9060
      Width           =   855
      Height          =   375
      TabIndex        =   5
      BackColor       =   &H80000005&
   End
   Begin CommandButton Command2
      Caption         =   "参考和帮助 >"
      Left            =   9120
      Top             =   9060
      Width           =   1455
      Height          =   375
      TabIndex        =   4
   End
   Begin CommandButton Command1
      Caption         =   "常用匹配..."
      Left            =   9300
      Top             =   4380
      Width           =   1275
      Height          =   375
      TabIndex        =   3
   End
   Begin TextBoxW txtMatch
      Left            =   1560
      Top             =   4440
      Width           =   6315
      Height          =   315
      BorderStyle     =   0
      TabIndex        =   2
   End
   Begin FrameW FrameW3
      Caption         =   "参考和帮助"
      Appearance      =   0
      Left            =   10680
      Top             =   60
      Width           =   6015
      Height          =   9375
      Begin ListBoxW ListBoxW1
         Enabled         =   False
         BorderStyle     =   0
         Left            =   120
         Top             =   240
         Width           =   5775
         Height          =   5100
         TabIndex        =   11
      End
      Begin Label Label1
         Index           =   2
         Caption         =   "版本：1.0"
         Alignment       =   1
         BackColor       =   &H80000005&
         Left            =   5085
         Top             =   8280
         Width           =   795
         Height          =   255
      End
      Begin LabelW LabelW2
         Caption         =   "发布于 项目主页"
         Alignment       =   1
         AutoSize        =   True
         Appearance      =   0
         Left            =   4200
         Top             =   9060
         Width           =   1680
         Height          =   255
      End
      Begin Label Label1
         Index           =   1
         Caption         =   "作者：项目组"
         Alignment       =   1
         BackColor       =   &H80000005&
         Left            =   4800
         Top             =   8520
         Width           =   1080
         Height          =   255
      End
      Begin Label Label1
         Index           =   0
         Caption         =   "工作台项目组出品"
         Alignment       =   1
         BackColor       =   &H80000005&
         Left            =   4440
         Top             =   8790
         Width           =   1455
         Height          =   255
      End
   End
   Begin FrameW FrameW1
      Caption         =   "结果"
      Appearance      =   0
      Left            =   60
      Top             =   4770
      Width           =   10515
      Height          =   4215
      Begin ListBoxW lstResults
         BorderStyle     =   0
         Left            =   120
         Top             =   240
         Width           =   10275
         Height          =   3825
         TabIndex        =   9
      End
   End
   Begin FrameW FrameW2
      Caption         =   "源"
      Left            =   60
      Top             =   60
      Width           =   10515
      Height          =   4275
      Begin TextBoxW txtSource
         MultiLine       =   True
         ScrollBars      =   2
         HideSelection   =   False
         BorderStyle     =   0
         Left            =   120
         Top             =   300
         Width           =   10275
         Height          =   3795
         TabIndex        =   0
      End
   End
   Begin TextBoxW txtReplace
      BorderStyle     =   0
      Left            =   1080
      Top             =   9120
      Width           =   6735
      Height          =   315
      Visible         =   False
   End
   Begin LabelW LabelW1
      Caption         =   "匹配："
      AutoSize        =   True
      Left            =   840
      Top             =   4440
      Width           =   540
      Height          =   255
   End
   Begin Line Line2
      BorderColor     =   &H00DCDCDC&
      Visible         =   False
   End
   Begin Line Line1
      BorderColor     =   &H00DCDCDC&
   End
   Begin Menu mnuPopup
      Caption         =   "弹出菜单"
      Visible         =   False
      Begin Menu mnu常用匹配
         Caption         =   "常用匹配"
         Enabled         =   False
      End
      Begin Menu 分隔符1
         Caption         =   "-"
      End
      Begin Menu mnu文本处理
         Caption         =   "文本处理"
         Begin Menu mnu匹配选项
            Index           =   0
            Caption         =   "所有中文字符"
            Tag             =   "[\u4e00-\u9fa5]"
         End
         Begin Menu mnu匹配选项
            Index           =   1
            Caption         =   "中英文、数字和下划线"
            Tag             =   "[\u4E00-\u9FA5A-Za-z0-9_]+"
         End
         Begin Menu mnu匹配选项
            Index           =   2
            Caption         =   "英文、数字和下划线"
            Tag             =   "[A-Za-z0-9_]+"
         End
      End
      Begin Menu mnu网络相关
         Caption         =   "网络相关"
         Begin Menu mnu匹配选项
            Index           =   3
            Caption         =   "电子邮箱地址"
            Tag             =   "\w+([-+.]\w+)*@\w+([-.]\w+)*\.\w+([-.]\w+)*"
         End
         Begin Menu mnu匹配选项
            Index           =   4
            Caption         =   "网址（URL）"
            Tag             =   "https?://([\w-]+\.)+[\w-]+(/[\w-./?%&=]*)?"
         End
         Begin Menu mnu匹配选项
            Index           =   5
            Caption         =   "网站的域名"
            Tag             =   "[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\.?"
         End
         Begin Menu mnu匹配选项
            Index           =   6
            Caption         =   "HTML源码的标记"
            Tag             =   "<(\S*?)[^>]*>.*?|<.*?/>"
         End
         Begin Menu mnu匹配选项
            Index           =   7
            Caption         =   "IPV4地址"
            Tag             =   "((2(5[0-5]|[0-4]\d))|[0-1]?\d{1,2})(\.((2(5[0-5]|[0-4]\d))|[0-1]?\d{1,2})){3}"
         End
      End
   End
End
